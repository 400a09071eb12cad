// The project's font configuration (data/fontconfig/fonts.conf) asked
// directly: every generic family, under the name each toolkit gives it,
// resolves to an ordinary text face in every language, never to a symbol
// or math face that happens to cover the language.

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ConfigDeleter {
    void operator()(FcConfig *config) const { FcConfigDestroy(config); }
};
struct PatternDeleter {
    void operator()(FcPattern *pattern) const { FcPatternDestroy(pattern); }
};
using Config = std::unique_ptr<FcConfig, ConfigDeleter>;
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

Config ProjectConfig()
{
    Config config(FcConfigCreate());
    if (!FcConfigParseAndLoad(config.get(), reinterpret_cast<const FcChar8 *>(PROJECT_FONTS_CONF), FcTrue)
        || !FcConfigBuildFonts(config.get()))
        return nullptr;
    return config;
}

// The family of the face fontconfig chooses for family in language.
std::string Match(FcConfig *config, const char *family, const char *language)
{
    Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(family));
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8 *>(language));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, pattern.get(), &result));
    FcChar8 *name = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &name) != FcResultMatch)
        return std::string();
    return reinterpret_cast<const char *>(name);
}

} // namespace

TEST(FontConfigurationTest, GenericFamiliesResolveToTextFacesInEveryLanguage)
{
    const Config config = ProjectConfig();
    ASSERT_TRUE(config) << "cannot load " << PROJECT_FONTS_CONF;
    struct Generic {
        const char *family;
        std::initializer_list<const char *> faces;
    };
    const Generic generics[] = {
        {"sans-serif", {"Liberation Sans", "DejaVu Sans"}},
        {"Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
        {"sans", {"Liberation Sans", "DejaVu Sans"}},
        {"system-ui", {"Liberation Sans", "DejaVu Sans"}},
        {"serif", {"Liberation Serif", "DejaVu Serif"}},
        {"monospace", {"Liberation Mono", "DejaVu Sans Mono"}},
        {"mono", {"Liberation Mono", "DejaVu Sans Mono"}},
    };
    for (const char *language : {"en", "ru", "de", "fr", "uk", "ja", "ar", "und-zmth"}) {
        for (const Generic &generic : generics) {
            const std::string face = Match(config.get(), generic.family, language);
            bool ordinary = false;
            for (const char *expected : generic.faces)
                ordinary = ordinary || face == expected;
            EXPECT_TRUE(ordinary) << generic.family << " in " << language << " resolves to \"" << face << '"';
        }
    }
}

TEST(FontConfigurationTest, OfficeFaceNamesKeepTheirMetricCompatibleFaces)
{
    const Config config = ProjectConfig();
    ASSERT_TRUE(config);
    for (const char *language : {"en", "ru"}) {
        EXPECT_EQ(Match(config.get(), "Arial", language), "Liberation Sans") << language;
        EXPECT_EQ(Match(config.get(), "Times New Roman", language), "Liberation Serif") << language;
        EXPECT_EQ(Match(config.get(), "Courier New", language), "Liberation Mono") << language;
        EXPECT_EQ(Match(config.get(), "Arial Unicode MS", language), "DejaVu Sans") << language;
    }
}

namespace {

// The family of the best face fontconfig has for a character alone.
std::string Covering(FcConfig *config, FcChar32 character)
{
    Pattern pattern(FcPatternCreate());
    FcCharSet *wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, character);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted);
    FcCharSetDestroy(wanted);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, pattern.get(), &result));
    FcChar8 *name = nullptr;
    FcCharSet *charset = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &name) != FcResultMatch
        || FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &charset) != FcResultMatch
        || !FcCharSetHasChar(charset, character))
        return std::string();
    return reinterpret_cast<const char *>(name);
}

} // namespace

// Behind the project's rules the system's configuration offers every
// installed face for what Liberation and DejaVu lack, while Latin and
// Cyrillic characters still come from those two, whatever faces the system
// prefers (Noto Sans, with fonts-noto-core installed).
TEST(FontConfigurationTest, InstalledFacesStandInOnlyForWhatTheTextFacesLack)
{
    const Config config = ProjectConfig();
    ASSERT_TRUE(config);
    for (const FcChar32 character : {FcChar32('A'), FcChar32(0x0416), FcChar32(0x00E4), FcChar32(0x2264)}) {
        const std::string face = Covering(config.get(), character);
        EXPECT_TRUE(face == "DejaVu Sans" || face == "Liberation Sans") << character << ": " << face;
    }
    if (!std::filesystem::exists("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"))
        GTEST_SKIP() << "fonts-wqy-zenhei is not installed";
    EXPECT_NE(Covering(config.get(), 0x4E2D), "");
}

// The tests' configuration has the project's rules with the faces of a
// known set of packages alone, whatever else the machine has installed.
TEST(FontConfigurationTest, TheTestsSeeOnlyTheFacesTheyName)
{
    Config config(FcConfigCreate());
    ASSERT_TRUE(FcConfigParseAndLoad(config.get(), reinterpret_cast<const FcChar8 *>(TEST_FONTS_CONF), FcTrue)
                && FcConfigBuildFonts(config.get()));
    // Every face comes from one of the files the configuration names, and
    // every file it names that is installed gives faces.
    const std::string folder = "/usr/share/fonts/truetype/";
    std::vector<std::string> known;
    std::istringstream list(TEST_FONT_FILES);
    for (std::string file; std::getline(list, file, ',');)
        known.push_back(folder + file);
    std::set<std::string> seen;
    FcFontSet *fonts = FcConfigGetFonts(config.get(), FcSetSystem);
    ASSERT_TRUE(fonts);
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8 *file = nullptr;
        ASSERT_EQ(FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file), FcResultMatch);
        const std::string path(reinterpret_cast<const char *>(file));
        EXPECT_NE(std::find(known.begin(), known.end(), path), known.end()) << path;
        seen.insert(path);
    }
    for (const std::string &file : known)
        EXPECT_EQ(seen.count(file), std::filesystem::exists(file) ? 1u : 0u) << file;
    EXPECT_EQ(Covering(config.get(), 'A'), "Liberation Sans");
    EXPECT_EQ(Covering(config.get(), 0x0378), "") << "no face of the tests has the unassigned U+0378";
    if (std::filesystem::exists("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc")) {
        EXPECT_EQ(Covering(config.get(), 0x4E2D), "WenQuanYi Zen Hei");
    }
}
