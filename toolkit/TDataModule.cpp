#include "toolkit/TDataModule.h"

#include "toolkit/GlobalComponents.h"

TDataModule::TDataModule(TComponent *owner) : TComponent(owner) {}

TDataModule::~TDataModule()
{
    if (m_onDestroy)
        m_onDestroy(this);
}

void TDataModule::AfterConstruction()
{
    TComponent::AfterConstruction();
    GlobalComponents::Add(this);
    if (m_onCreate)
        m_onCreate(this);
}
