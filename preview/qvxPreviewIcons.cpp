#include "preview/qvxPreviewIcons.h"

#include "report/model/qvxResources.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/ImageList.h"

#include <QImage>
#include <QPixmap>

QIcon qvxPreviewButtonIcon(int index)
{
    if (index < 0)
        return {};
    TImageList *images = qvxResources()->PreviewButtonImages();
    QImage image(images->Width(), images->Height(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    TCanvas canvas;
    canvas.SetDevice(&image);
    images->Draw(&canvas, 0, 0, index);
    canvas.ReleaseHandle();
    return QIcon(QPixmap::fromImage(image));
}
