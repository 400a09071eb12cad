#pragma once

// Runs a piece of a test in a child process that may take only so much
// more memory than it has, so that a run that would fill the memory fails
// there instead of taking the machine down.  The child is the test program
// itself, run again for this one test (gtest's threadsafe death tests: no
// fork of a process with threads); what it prints on stderr shows in the
// failure.

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

// AddressSanitizer reserves terabytes of address space for its shadow: a
// limit on the address space leaves it none.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool AddressSpaceLimitWorks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool AddressSpaceLimitWorks = false;
#else
inline constexpr bool AddressSpaceLimitWorks = true;
#endif
#else
inline constexpr bool AddressSpaceLimitWorks = true;
#endif

// The address space the process has mapped, in bytes.
inline qint64 MappedBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            return line.mid(7).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// Lets the process map headroom bytes more than it has now; allocations
// past that fail with std::bad_alloc.
inline void LimitMemoryTo(qint64 headroom)
{
    const rlim_t limit = rlim_t(MappedBytes() + headroom);
    const rlimit lowered{limit, limit};
    if (setrlimit(RLIMIT_AS, &lowered) != 0) {
        std::perror("setrlimit");
        std::_Exit(2);
    }
}

// Runs body in a child process held to headroom bytes of memory more than
// it starts with; the test passes when body returns true there.
inline void ExpectWithinMemory(qint64 headroom, const std::function<bool()> &body)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            LimitMemoryTo(headroom);
            const bool passed = body();
            std::fflush(stderr);
            std::_Exit(passed ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
