#pragma once

// A picture on the parent's background: at the top-left corner, centred,
// or stretched over the control.

#include "toolkit/widgets/TControl.h"

#include <memory>

class TCanvas;
class TPicture;

class TImage : public TControl
{
    Q_OBJECT
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)

public:
    explicit TImage(TComponent *owner);
    ~TImage() override;

    TPicture *Picture() const { return m_picture.get(); }
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool stretch);
    bool Center() const { return m_center; }
    void SetCenter(bool center);

protected:
    bool HandleInputEvent(QEvent *event) override;

private:
    void paint();

    std::unique_ptr<TPicture> m_picture;
    std::unique_ptr<TCanvas> m_canvas;
    bool m_stretch = false;
    bool m_center = false;
};
