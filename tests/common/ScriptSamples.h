#pragma once

// Long addresses in other scripts, alone and among Cyrillic, as users paste
// them into a memo: most of their characters come from faces that stand in
// for Arial's.  Under the tests' fonts (Liberation, DejaVu, WenQuanYi) Thai
// and Devanagari have no face at all and show as U+FFFD; the text the faces
// can show is what must come back.

#include "toolkit/graphics/FontEngine.h"

#include <QHash>
#include <QList>
#include <QString>

struct TScriptSample {
    QString name;
    QString text;
};

inline QList<TScriptSample> LongAddresses()
{
    const QList<TScriptSample> alone = {
        {QStringLiteral("Chinese"), QStringLiteral("北京市朝阳区建国路88号国际贸易中心写字楼第三座二十层采购部电话")
                                        .repeated(3)},
        {QStringLiteral("Japanese"),
         QStringLiteral("東京都千代田区丸の内一丁目九番二号グラントウキョウサウスタワー十五階購買部でんわ").repeated(2)},
        {QStringLiteral("Korean"),
         QStringLiteral("서울특별시 강남구 테헤란로 152 강남파이낸스센터 20층 구매부 전화번호 문의는 담당자에게 "
                        "연락하십시오 ")
             .repeated(2)},
        {QStringLiteral("Greek"),
         QStringLiteral("Λεωφόρος Βασιλίσσης Σοφίας 125, Αθήνα 115 21, τηλέφωνο του τμήματος προμηθειών της "
                        "εταιρείας ")
             .repeated(2)},
        {QStringLiteral("Arabic"),
         QStringLiteral("شارع الملك فهد، حي العليا، الرياض 12211، المملكة العربية السعودية، هاتف قسم المشتريات "
                        "في الشركة ")
             .repeated(2)},
        {QStringLiteral("Hebrew"),
         QStringLiteral("רחוב הרצל 25, תל אביב-יפו 6100000, טלפון של מחלקת הרכש בחברה ליצירת קשר עם הנציג ")
             .repeated(2)},
        {QStringLiteral("Thai"),
         QStringLiteral("ถนนสุขุมวิท แขวงคลองเตย เขตคลองเตย กรุงเทพมหานคร 10110 โทรศัพท์ฝ่ายจัดซื้อของบริษัท ")
             .repeated(2)},
        {QStringLiteral("Devanagari"),
         QStringLiteral("कनॉट प्लेस, नई दिल्ली 110001, क्रय विभाग का टेलीफोन नंबर संपर्क के लिए उपलब्ध है ")
             .repeated(2)},
    };
    QList<TScriptSample> samples = {
        {QStringLiteral("Chinese without blanks"), QStringLiteral("电话").repeated(60)},
        // Lines break inside the words, where a letter takes its final form.
        {QStringLiteral("Arabic without blanks"), QStringLiteral("بيت").repeated(40)},
        {QStringLiteral("Arabic name of long words"),
         QStringLiteral("مؤسسة ") + QStringLiteral("الخليجللطاقةالكهربائيةوالصناعاتالهندسية").repeated(5)},
        {QStringLiteral("Chinese words after Cyrillic"),
         QStringLiteral("тел. ") + QStringLiteral("北京市朝阳区建国路88号 ").repeated(6)
             + QStringLiteral("тел. +7 (383) 555-01-23")}};
    for (const TScriptSample &sample : alone) {
        samples.append(sample);
        samples.append({sample.name + QStringLiteral(" among Cyrillic"),
                        QStringLiteral("Адрес: ") + sample.text + QStringLiteral("тел. +7 (383) 555-01-23")});
    }
    return samples;
}

// The characters of expected that found lacks, each as often as it is
// missing; blanks, and characters no face shows, are not looked for.
inline QString MissingCharacters(const QString &expected, const QString &found)
{
    QHash<char32_t, int> counts;
    for (const char32_t c : found.toUcs4())
        ++counts[c];
    QString missing;
    for (const char32_t c : expected.toUcs4()) {
        if (QChar::isSpace(c) || !TFontEngine::CoveringFace(c, false, false))
            continue;
        if (counts.value(c) > 0)
            --counts[c];
        else
            missing += QString::fromUcs4(&c, 1);
    }
    return missing;
}

// Characters that show nothing and take no room: the zero-width joiner and
// space, the emoji variation selector, the direction marks, the word
// joiner, the byte-order mark and the soft hyphen (inside a line).
inline QList<char16_t> InvisibleCharacters()
{
    return {u'\u200D', u'\u200B', u'\uFE0F', u'\u200E', u'\u200F', u'\u2060', u'\uFEFF', u'\u00AD'};
}
