// The toolkit tests measure and draw with the project's own font
// configuration; a bare run of the test executable sets it before anything
// starts fontconfig.

#include <cstdlib>

namespace {

const bool fontConfigPinned = [] {
    setenv("FONTCONFIG_FILE", TEST_DATA_DIR "/../../data/fontconfig/fonts.conf", 0);
    return true;
}();

} // namespace
