// The script fuzz target moves to a folder of its own: the paths among its
// arguments must still name what they named where it was started.

#include "fuzz/FuzzArguments.h"

#include <gtest/gtest.h>

TEST(FuzzArguments, RelativePathsBecomeAbsoluteAgainstTheStartingFolder)
{
    const QStringList given{"script_runtime_fuzzer", "-runs=0", "corpus", "../seeds/x", "/abs/corpus",
                            "-dict=words.dict", "-seed_inputs=a,/b,c/d", "-exact_artifact_path=out/crash"};
    EXPECT_EQ(AbsoluteFuzzerArguments(given, QStringLiteral("/work/w")),
              QStringList({"script_runtime_fuzzer", "-runs=0", "/work/w/corpus", "/work/seeds/x", "/abs/corpus",
                           "-dict=/work/w/words.dict", "-seed_inputs=/work/w/a,/b,/work/w/c/d",
                           "-exact_artifact_path=/work/w/out/crash", "-artifact_prefix=/work/w/"}))
        << "crashing inputs land where the target was started";

    EXPECT_EQ(AbsoluteFuzzerArguments({"t", "-artifact_prefix=found/crash-", "-seed_inputs=@list"},
                                      QStringLiteral("/w")),
              QStringList({"t", "-artifact_prefix=/w/found/crash-", "-seed_inputs=@/w/list"}));
    EXPECT_EQ(AbsoluteFuzzerArguments({"t", "-artifact_prefix=x-"}, QStringLiteral("/w")),
              QStringList({"t", "-artifact_prefix=/w/x-"}));
}
