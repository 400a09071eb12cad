#pragma once

// TImageList: a row of equally sized small images with transparency, drawn
// by index, normally, greyed (disabled) or blended with the highlight colour
// (selected).

#include "toolkit/graphics/Colors.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/TComponent.h"

#include <QImage>
#include <QList>

class TBitmap;
class TCanvas;
class TImageList;

// One user's registration for the changes of an image list: its OnChange
// fires on every change of the list it is registered with (RegisterChanges).
// Destroying either side ends the registration.
class TChangeLink
{
public:
    TChangeLink() = default;
    TChangeLink(const TChangeLink &) = delete;
    TChangeLink &operator=(const TChangeLink &) = delete;
    ~TChangeLink();

    // The list the link is registered with, nullptr for none.
    TImageList *Sender() const { return m_sender; }

    TNotifyEvent OnChange;

private:
    friend class TImageList;
    TImageList *m_sender = nullptr;
};

class TImageList : public TComponent
{
    Q_OBJECT

public:
    explicit TImageList(TComponent *owner = nullptr);
    ~TImageList() override;

    // A link is registered with one list at a time.
    void RegisterChanges(TChangeLink *link);
    void UnRegisterChanges(TChangeLink *link);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Changing the cell size clears the list.
    void SetSize(int width, int height);
    int Count() const { return int(m_images.size()); }

    // Cuts the bitmap into cells of the list's size, left to right, and
    // adds each; pixels of the mask's white pixels (or of the transparent
    // colour) are left out.  Returns the index of the first image added.
    int Add(const TBitmap *image, const TBitmap *mask = nullptr);
    int AddMasked(const TBitmap *image, TColor transparentColor);
    void Delete(int index);
    void Clear();

    // An index outside the list draws nothing.
    void Draw(TCanvas *canvas, int x, int y, int index, bool enabled = true, bool selected = false) const;

    TNotifyEvent OnChange;

private:
    int AddCells(const QImage &image);
    void Changed();

    int m_width = 16;
    int m_height = 16;
    QList<QImage> m_images; // Format_ARGB32, transparent where masked
    QList<TChangeLink *> m_links;
};
