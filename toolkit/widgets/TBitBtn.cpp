#include "toolkit/widgets/TBitBtn.h"

#include "toolkit/graphics/Bitmap.h"

#include <QIcon>
#include <QPixmap>
#include <QPushButton>

TBitBtn::TBitBtn(TComponent *owner) : TButton(owner) {}

TBitBtn::~TBitBtn() = default;

void TBitBtn::SetGlyph(const TBitmap *glyph)
{
    if (!glyph) {
        m_glyph.reset();
    } else {
        if (!m_glyph)
            m_glyph = std::make_unique<TBitmap>();
        m_glyph->Assign(glyph);
    }
    applyGlyph();
}

void TBitBtn::applyGlyph()
{
    if (!m_glyph || m_glyph->Empty()) {
        Button()->setIcon(QIcon());
        return;
    }
    QImage image = m_glyph->Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ColorToQColor(m_glyph->TransparentColor()).rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] | 0xFF000000u) == (key | 0xFF000000u))
                line[x] = 0;
    }
    Button()->setIcon(QIcon(QPixmap::fromImage(image)));
    Button()->setIconSize(image.size());
}
