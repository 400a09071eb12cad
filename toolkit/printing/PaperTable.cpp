#include "toolkit/printing/PaperTable.h"

#include <cmath>

namespace {

struct PaperInfo {
    int id;
    int width; // tenths of a millimetre, portrait
    int height;
};

constexpr PaperInfo kPapers[] = {
    {1, 2159, 2794}, {2, 2159, 2794}, {3, 2794, 4318}, {4, 4318, 2794},
    {5, 2159, 3556}, {6, 1397, 2159}, {7, 1842, 2667}, {8, 2970, 4200},
    {9, 2100, 2970}, {10, 2100, 2970}, {11, 1480, 2100}, {12, 2500, 3540},
    {13, 1820, 2570}, {14, 2159, 3302}, {15, 2150, 2750}, {16, 2540, 3556},
    {17, 2794, 4318}, {18, 2159, 2794}, {19, 984, 2254}, {20, 1048, 2413},
    {21, 1143, 2635}, {22, 1207, 2794}, {23, 1270, 2921}, {24, 4318, 5588},
    {25, 5588, 8636}, {26, 8636, 11176}, {27, 1100, 2200}, {28, 1620, 2290},
    {29, 3240, 4580}, {30, 2290, 3240}, {31, 1140, 1620}, {32, 1140, 2290},
    {33, 2500, 3530}, {34, 1760, 2500}, {35, 1760, 1250}, {36, 1100, 2300},
    {37, 984, 1905}, {38, 920, 1651}, {39, 3778, 2794}, {40, 2159, 3048},
    {41, 2159, 3302}, {42, 2500, 3530}, {43, 1000, 1480}, {44, 2286, 2794},
    {45, 2540, 2794}, {46, 3810, 2794}, {47, 2200, 2200}, {50, 2355, 3048},
    {51, 2355, 3810}, {52, 2969, 4572}, {53, 2354, 3223}, {54, 2101, 2794},
    {55, 2100, 2970}, {56, 2355, 3048}, {57, 2270, 3560}, {58, 3050, 4870},
    {59, 2159, 3223}, {60, 2100, 3300}, {61, 1480, 2100}, {62, 1820, 2570},
    {63, 3220, 4450}, {64, 1740, 2350}, {65, 2010, 2760}, {66, 4200, 5940},
    {67, 2970, 4200}, {68, 3220, 4450},
};

bool near(double millimetres, int tenths)
{
    return std::abs(millimetres * 10 - tenths) <= 5;
}

} // namespace

bool GetPaperDimensions(int paperId, double &widthMM, double &heightMM)
{
    for (const PaperInfo &paper : kPapers) {
        if (paper.id == paperId) {
            widthMM = paper.width / 10.0;
            heightMM = paper.height / 10.0;
            return true;
        }
    }
    return false;
}

int PaperIdOfSize(const QSizeF &size)
{
    for (const PaperInfo &paper : kPapers) {
        if ((near(size.width(), paper.width) && near(size.height(), paper.height)) ||
            (near(size.width(), paper.height) && near(size.height(), paper.width)))
            return paper.id;
    }
    return 0;
}
