#pragma once

// Installs the preview window as the report's preview service while the
// unit lives.
void InitializeQvxPreview();
void FinalizeQvxPreview();
