#pragma once

// The structure of a report page, derived from where its bands lie.
//
// A page keeps its bands as a flat list of children; which header and
// footer belong to which data band, which group headers and footers
// surround it and which data bands are details of which master follow from
// the bands' positions: tops for horizontal bands, lefts for vertical ones.
// CheckBands works this out at the start of every run and writes it into
// the bands' engine fields (Details, Header, Footer, Group, Groups) and the
// page's lists of top-level data bands, which the data loops then follow.
//
// BuildShiftTree works out, once per band, which objects a growing object
// pushes down: the shift lists that stretching walks.

class TStrings;
class TqvxBand;
class TqvxReportPage;

// Checks and connects the horizontal (vertical false) or the vertical
// bands of the page.  A band that cannot be placed adds one line to errors
// (its text, a blank and the band's name) and stays out of the structure;
// the check goes on to the end.  Success leaves errors unchanged.
//
// On the way it aligns the page's children, builds the shift tree of each
// band checked, gives a data band with RowCount rows and no data set its
// own row data set (initialised), and, in the horizontal check, moves the
// objects of a horizontal band that lie within a vertical band's left and
// right edges (tolerance 0.0001) into that band, remembering the
// horizontal band as their home band and marking it HostsVBands.
//
// Bands are ordered by their position to two decimals, then by their order
// among the page's children; bands at the same position all take part.
// The errors:
//   "enUnconnGroup"   a group header with no data band after it;
//   "enUnconnGFooter" a group footer with no group header before it;
//   "enUnconnHeader"  a header or footer not directly beside a data band
//                     (once group headers and footers are taken out);
//   "enBandPos"       a data band that has no place (a detail band with
//                     no master above it ...).
// Data bands without a data set are left out without an error.
void CheckBands(TqvxReportPage *page, TStrings *errors, bool vertical);

// Builds the shift lists of the band's views when the band's own list is
// empty: view B is in the list of view A when B lies below A without
// overlapping it vertically, the two overlap horizontally, and no third
// view lies between them within their horizontal overlap.  The band's own
// list holds the views with nothing above them within a strip 2 pixels
// above the band.  Overlaps are taken on page positions with a tolerance
// of 0.0001.
void BuildShiftTree(TqvxBand *band);
