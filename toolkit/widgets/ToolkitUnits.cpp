#include "toolkit/core/Units.h"

// The toolkit's own units, registered in the order they must start; the
// widget layer is the last of them, so the whole list lives here.
void RegisterToolkitUnits()
{
    // Toolkit units are added here, in the order they must start.
    void InitializeFormatSettings();
    Units::Add("SysUtils", InitializeFormatSettings, nullptr);
    void InitializeClasses();
    Units::Add("Classes", InitializeClasses, nullptr);
    void InitializeStreams();
    Units::Add("Streams", InitializeStreams, nullptr);
    void InitializeStringLists();
    Units::Add("StringLists", InitializeStringLists, nullptr);
    void InitializeIniFiles();
    Units::Add("IniFiles", InitializeIniFiles, nullptr);
    void InitializeGraphicsUnit();
    void FinalizeGraphicsUnit();
    Units::Add("Graphics", InitializeGraphicsUnit, FinalizeGraphicsUnit);
    void InitializeControlClasses();
    Units::Add("Controls", InitializeControlClasses, nullptr);
    void InitializeApplicationUnit();
    void FinalizeApplicationUnit();
    Units::Add("Forms", InitializeApplicationUnit, FinalizeApplicationUnit);
}
