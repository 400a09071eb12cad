#include "toolkit/classes/TDataModule.h"

#include "toolkit/classes/GlobalComponents.h"

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
