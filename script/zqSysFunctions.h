#pragma once

// The system library every script gets first: the basic type names, True,
// False, nil and Null, the string and array element accessors, the two
// exception variables of try/except, the variant type codes and the global
// functions of six categories (conversions, dates, formatting, mathematics,
// strings and the rest).  The functions call the toolkit's runtime routines.
//
// Two conversions are particular to the library: the mathematical functions
// (but Pi) multiply their argument by the currency value 1 first, which turns
// text into a number, and Format and FormatFloat round floating arguments to
// four decimals through the currency type (beyond its range EOverflow).

#include "script/zqClasses.h"

class TzqSysFunctions : public TzqRTTIModule
{
public:
    explicit TzqSysFunctions(TzqScript *script);
    ~TzqSysFunctions() override;

private:
    // Automation objects made by CreateOleObject live as long as the module.
    std::vector<std::unique_ptr<TObject>> m_oleObjects;
};

// Adds the system library to the module list; the first module to start.
void RegisterSysFunctions();

// Format over the elements of a variant array, each floating element passed
// through the currency type.
QString FormatV(const QString &format, const Variant &args);
