#pragma once
// The framework's expression language as view filters use it:
//   operands   field and bound names (PRE:Field, Process:Save::SBK:Title),
//              integer and decimal literals, 'text' literals ('' is a quote)
//   functions  UPPER(s), CLIP(s), SUB(s, start, length),
//              INSTRING(sub, s [, step [, start]])
//   operators  + - (numbers); = <> < > <= >=; NOT, AND, OR; parentheses
// Names, functions and keywords ignore case. An expression is parsed once;
// every evaluation reads the names' current values. Texts compare as the
// language does: the shorter is padded with blanks, case counts.

#include "platform/data/record.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw::data {

// Where a name's value lives when the expression is evaluated.
struct Operand {
    FieldDecl field;                        // type, size and offset in the record
    std::function<const void*()> record;    // the record buffer (or the variable, offset 0)
    const void* tag = nullptr;              // who owns it (a view's file), for range analysis
    int fieldIndex = -1;
};
// Resolves a name to its operand; false if the name is unknown.
using NameResolver = std::function<bool(std::string_view name, Operand* out)>;

struct FilterValue {
    bool text = false;
    std::string s;  // texts keep their declared length
    double n = 0;
    bool Truth() const;
};

class Expression;

// An equality "field = value" among an expression's top-level AND terms,
// where value does not depend on the view's own files (UPPER and CLIP
// around either side allowed): a record that passes the filter has the
// field equal to value in key order, so the scan can be limited to it.
struct FixedField {
    const void* tag;
    int fieldIndex;
    std::shared_ptr<const Expression> value;
};

class Expression {
public:
    // nullptr on a syntax error (error 800) or an unknown name (801).
    static std::shared_ptr<Expression> Parse(std::string_view text, const NameResolver& resolve, int* error);
    FilterValue Evaluate() const;
    bool Test() const { return Evaluate().Truth(); }
    // The fixed fields, given the tags of the view's own files.
    std::vector<FixedField> FixedFields(const std::vector<const void*>& ownTags) const;

    struct Node;
    explicit Expression(std::shared_ptr<const Node> root) : root_(std::move(root)) {}

private:
    std::shared_ptr<const Node> root_;
};

}  // namespace fw::data
