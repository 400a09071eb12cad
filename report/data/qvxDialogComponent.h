#pragma once

// Non-visual objects of report dialog pages (data access components, data
// sets).  A designer shows one as a 28 x 28 icon with its name below it.
// Descendants that wrap a component of the class library make it and hand
// it over with SetComponent.

#include "report/components/qvxReportComponent.h"

#include <memory>

class TqvxDialogComponent : public TqvxReportComponent
{
    Q_OBJECT

public:
    static constexpr TqvxObjectKind PaletteKind = okDialog;

    // The side of the icon.
    static constexpr int IconSize = 28;

    // 28 x 28, and not copied into prepared pages.
    explicit TqvxDialogComponent(TComponent *owner = nullptr);
    ~TqvxDialogComponent() override;

    // The wrapped component (owned); nullptr until a descendant makes one.
    TComponent *Component() const { return m_component.get(); }

    // The icon at (Left, Top), unscaled: a raised button-face square with
    // the class's picture of the object registry 6 pixels in, and the name
    // in Tahoma 8 centred 4 pixels below it.  Makes the object 28 x 28.
    void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;

    // The position as the whole pixels "pLeft" and "pTop".
    void DefineProperties(TFiler &filer) override;

protected:
    void SetComponent(TComponent *component);

private:
    std::unique_ptr<TComponent> m_component;
};
