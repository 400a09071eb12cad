#pragma once

// The questionnaire's report template, carried inside the program as an XML
// report file.  Besides the report's own tree the file keeps, in its host
// data element, the stored settings of the window's components the report
// works with (the user data sets and the PDF filter): one element each,
// named by the component's class and carrying its Name.

#include <QList>

class TComponent;
class TStream;
class TqvxReport;

// Reads the template into report.  The components the host data names are
// looked up among those host owns and take their stored settings; a name
// host does not own, or a component of another class, adds a line to the
// report's errors.
void LoadQuestionnaireTemplate(TqvxReport *report, TComponent *host);

// Reads a template from stream the same way.
void LoadQuestionnaireTemplate(TqvxReport *report, TComponent *host, TStream *stream);

// Writes report as a template, with the stored settings of hostComponents
// in its host data element.
void SaveQuestionnaireTemplate(TqvxReport *report, const QList<TComponent *> &hostComponents, TStream *stream);
