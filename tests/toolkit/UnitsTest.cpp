#include "toolkit/core/Units.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string trace;

void initA() { trace += "+A"; }
void finA() { trace += "-A"; }
void initB() { trace += "+B"; }
void finB() { trace += "-B"; }

} // namespace

TEST(Units, InitializeInOrderFinalizeInReverseOnce)
{
    trace.clear();
    Units::Add("test.A", initA, finA);
    Units::Add("test.B", initB, finB);
    Units::Add("test.A", initB, finB); // a second entry of one name is ignored
    Units::InitializeAll();
    Units::InitializeAll();            // already initialised units are not run again
    EXPECT_EQ(trace, "+A+B");
    EXPECT_TRUE(Units::IsInitialized("test.B"));

    trace.clear();
    Units::FinalizeAll();
    EXPECT_EQ(trace, "-B-A");
    EXPECT_FALSE(Units::IsInitialized("test.A"));

    // The test main finalises once more at exit; nothing is left to run then.
    Units::InitializeAll();
    EXPECT_EQ(trace, "-B-A+A+B");
}
