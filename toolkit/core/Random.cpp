#include "toolkit/core/Random.h"

#include <QDateTime>

quint32 RandSeed = 0;

namespace {

quint32 NextSeed()
{
    RandSeed = RandSeed * 0x08088405u + 1u;
    return RandSeed;
}

} // namespace

void Randomize()
{
    RandSeed = quint32(QDateTime::currentMSecsSinceEpoch());
}

double Random()
{
    return double(NextSeed()) / 4294967296.0;
}

int Random(int range)
{
    const quint32 seed = NextSeed();
    if (range <= 0)
        return 0;
    return int((quint64(seed) * quint64(range)) >> 32);
}
