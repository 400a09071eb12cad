#pragma once

// Designators and set expressions.
//
// A designator is the run-time form of a name chain such as a.b[c].d(e): one
// step per name or index list, each bound by the builder to the variable,
// procedure, class or member helper it names, with its argument
// expressions.  Reading walks the chain from the left, handing each step's
// value to the next as its parent value; writing does the same and writes
// the last step.  Arguments are all evaluated before any parameter changes;
// var parameters hand their values back to their argument expressions; a
// recursive call keeps the caller's parameters and locals (also when an
// exception passes).  Three short forms serve the commonest shapes: a plain
// variable, one character of a string variable, one element of an array
// variable.
//
// A chain that cannot be resolved when it is built (a member of a Variant
// that is still empty) keeps its piece of the intermediate program and is
// resolved the first time it is used.

#include "script/zqVariables.h"

#include <memory>
#include <vector>

class TzqExpression;
class TzqScript;
class TzqXMLItem;

class TzqDesignatorItem
{
public:
    TzqCustomVariable *Ref = nullptr;
    QString SourcePos;
    // The step's arguments or indices, owned, in source order.
    std::vector<std::unique_ptr<TzqExpression>> Args;
};

class TzqDesignator final : public TzqCustomVariable
{
public:
    enum Kinds : quint8 { General, SingleVariable, StringElement, ArrayElement };

    explicit TzqDesignator(TzqScript *prog);
    ~TzqDesignator() override;

    TzqScript *Prog;
    TzqScript *MainProg;
    Kinds Kind = General;
    std::vector<TzqDesignatorItem> Steps;
    // Variables the builder made for this designator alone (an address-of
    // name, a component found at build time, late-bound steps).
    std::vector<std::unique_ptr<TzqCustomVariable>> OwnedRefs;
    // The unresolved piece of the intermediate program; nil once resolved.
    std::unique_ptr<TzqXMLItem> Deferred;

    // Sets type, read-only flag and short form from the steps.
    void Finalize();
    // Takes over the steps and everything Finalize set from source.
    void Borrow(TzqDesignator &source);

    Variant GetValue() override;
    void SetValue(const Variant &value) override;
    // GetValue, with a plain variable read in place.
    Variant Read() { return Kind == SingleVariable ? zqRead(RefItem) : GetValue(); }

    // The element an ArrayElement designator writes, its indices evaluated
    // once, as SetValue evaluates them; SetElement then writes it as
    // SetValue does.  Count is 0 where the accessor writes the element.
    struct ElementPlace {
        TzqCustomVariable *accessor;
        int at[3];
        int count;
    };
    ElementPlace PlaceElement();
    void SetElement(const ElementPlace &place, const Variant &value);

private:
    void resolve();
    void settleLoan();
    Variant walk(bool setting, const Variant &newValue);
    TzqExpression *indexExpression() const;
    TzqCustomVariable *arrayAccessor();
    int elementIndices(TzqCustomVariable *accessor, int (&at)[3]) const;
};

// A set constructor [a, b..c]: expressions, with a nil entry between the two
// ends of a range.
class TzqSetExpression : public TzqCustomVariable
{
public:
    TzqSetExpression();
    ~TzqSetExpression() override;

    std::vector<std::unique_ptr<TzqExpression>> Items;

    // Whether value equals an element or lies in a range (both ends
    // included).
    bool Check(const Variant &value);
    // A variant array 0..Count-1: each element's value, Null for a range
    // marker.
    Variant GetValue() override;
};
