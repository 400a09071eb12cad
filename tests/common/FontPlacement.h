#pragma once

// Where HarfBuzz itself places the glyphs of a line, asked directly with a
// face made from the font file's bytes: the reference for where the canvas
// and the PDF draw marks.  The features are the program's (no kerning, no
// Latin ligatures), and characters that show nothing are left out.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QStringView>

#include <hb.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

struct TPlacedGlyph {
    quint32 Glyph = 0;
    double X = 0; // the glyph's origin from the line's start, font units,
    double Y = 0; // y upwards
};

inline QList<TPlacedGlyph> HarfBuzzPlacement(const QByteArray &fontData, unsigned faceIndex, QStringView text,
                                             int *unitsPerEm = nullptr)
{
    hb_blob_t *blob = hb_blob_create(fontData.constData(), unsigned(fontData.size()), HB_MEMORY_MODE_READONLY,
                                     nullptr, nullptr);
    hb_face_t *face = hb_face_create(blob, faceIndex);
    hb_font_t *font = hb_font_create(face);
    if (unitsPerEm)
        *unitsPerEm = int(hb_face_get_upem(face));
    hb_buffer_t *buffer = hb_buffer_create();
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t *>(text.utf16()), int(text.size()), 0,
                        int(text.size()));
    hb_buffer_guess_segment_properties(buffer);
    hb_buffer_set_flags(buffer, HB_BUFFER_FLAG_REMOVE_DEFAULT_IGNORABLES);
    const hb_feature_t features[] = {
        {HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('l', 'i', 'g', 'a'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('c', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    };
    hb_shape(font, buffer, features, unsigned(std::size(features)));
    unsigned count = 0;
    const hb_glyph_info_t *infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t *positions = hb_buffer_get_glyph_positions(buffer, &count);
    QList<TPlacedGlyph> placed;
    double pen = 0;
    for (unsigned i = 0; i < count; ++i) {
        placed.append({infos[i].codepoint, pen + positions[i].x_offset, double(positions[i].y_offset)});
        pen += positions[i].x_advance;
    }
    hb_buffer_destroy(buffer);
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return placed;
}

// The greatest difference of grey between two pictures of the same size:
// glyphs drawn at places less than half a pixel apart differ by less than
// half the scale at any pixel, while a mark half a pixel or more away
// differs by more where it is drawn.
inline int GreatestGreyDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 255;
    int greatest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            greatest = std::max(greatest, std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))));
    return greatest;
}
