#pragma once

// A picture on the parent's background: at the top-left corner, centred,
// or stretched over the control.

#include "toolkit/widgets/TGraphicControl.h"

#include <memory>

class TPicture;

class TImage : public TGraphicControl
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
    void Paint() override;

private:
    std::unique_ptr<TPicture> m_picture;
    bool m_stretch = false;
    bool m_center = false;
};
