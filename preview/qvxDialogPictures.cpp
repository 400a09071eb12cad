#include "preview/qvxDialogPictures.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

namespace {

std::unique_ptr<TBitmap> blankPicture(int width, int height)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    TCanvas *canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(TRect(0, 0, width, height));
    return bitmap;
}

void sheet(TCanvas *canvas, int left, int top, int width, int height)
{
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetColor(clWhite);
    canvas->Rectangle(left, top, left + width, top + height);
}

// Grey lines standing for text inside a sheet.
void textLines(TCanvas *canvas, int left, int top, int width, int height, int step)
{
    canvas->Pen()->SetColor(clGray);
    for (int y = top + 3; y < top + height - 2; y += step) {
        canvas->MoveTo(left + 3, y);
        canvas->LineTo(left + width - 3, y);
    }
}

void numberedSheet(TCanvas *canvas, int left, int top, int number)
{
    sheet(canvas, left, top, 16, 20);
    canvas->Font()->SetSize(7);
    canvas->TextOut(left + 5, top + 4, QString::number(number));
}

} // namespace

std::unique_ptr<TBitmap> qvxPrintModePicture(TqvxPrintMode mode)
{
    auto bitmap = blankPicture(64, 32);
    TCanvas *canvas = bitmap->Canvas();
    switch (mode) {
    case pmDefault:
        sheet(canvas, 24, 2, 22, 28);
        textLines(canvas, 24, 2, 22, 28, 4);
        break;
    case pmSplit:
        sheet(canvas, 2, 2, 22, 28);
        textLines(canvas, 2, 2, 22, 28, 4);
        for (int i = 0; i < 4; ++i)
            sheet(canvas, 32 + (i % 2) * 15, 2 + (i / 2) * 15, 14, 14);
        break;
    case pmJoin:
        for (int i = 0; i < 4; ++i)
            sheet(canvas, 2 + (i % 2) * 12, 2 + (i / 2) * 15, 11, 14);
        sheet(canvas, 36, 2, 22, 28);
        for (int i = 0; i < 4; ++i)
            canvas->Rectangle(38 + (i % 2) * 9, 4 + (i / 2) * 12, 46 + (i % 2) * 9, 15 + (i / 2) * 12);
        break;
    case pmScale:
        sheet(canvas, 2, 1, 24, 30);
        textLines(canvas, 2, 1, 24, 30, 4);
        sheet(canvas, 40, 8, 14, 18);
        textLines(canvas, 40, 8, 14, 18, 3);
        break;
    }
    return bitmap;
}

std::unique_ptr<TBitmap> qvxCollatePicture(bool collate)
{
    auto bitmap = blankPicture(92, 53);
    TCanvas *canvas = bitmap->Canvas();
    const int order[2][6] = {{1, 2, 3, 1, 2, 3}, {1, 1, 2, 2, 3, 3}};
    for (int i = 0; i < 6; ++i)
        numberedSheet(canvas, 2 + i * 15, 4 + (i % 3) * 10, order[collate ? 0 : 1][i]);
    return bitmap;
}

std::unique_ptr<TBitmap> qvxOrientationPicture(bool landscape)
{
    const int width = landscape ? 32 : 26;
    const int height = landscape ? 26 : 32;
    auto bitmap = blankPicture(width, height);
    TCanvas *canvas = bitmap->Canvas();
    sheet(canvas, 0, 0, width, height);
    textLines(canvas, 0, 0, width, height, 4);
    return bitmap;
}
