#include "platform/data/filter_expression.h"

#include "platform/text/codepage.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace fw::data {

struct Expression::Node {
    enum Kind { Number, Text, Name, Upper, Clip, Sub, Instring, Neg, Not, And, Or, Add, Subtract, Cmp } kind;
    std::string op;  // comparison operator
    FilterValue literal;
    Operand operand;
    std::vector<std::shared_ptr<const Node>> args;
};

using Node = Expression::Node;
using NodePtr = std::shared_ptr<const Node>;

bool FilterValue::Truth() const {
    if (!text) return n != 0;
    return s.find_first_not_of(' ') != std::string::npos;
}

namespace {

double Numeric(const FilterValue& v) {
    if (!v.text) return v.n;
    const char* p = v.s.c_str();
    while (*p == ' ') ++p;
    return std::strtod(p, nullptr);
}

std::string AsText(const FilterValue& v) {
    if (v.text) return v.s;
    if (v.n == std::floor(v.n) && std::fabs(v.n) < 1e15) return std::to_string(static_cast<long long>(v.n));
    std::string s = std::to_string(v.n);
    while (!s.empty() && s.back() == '0') s.pop_back();
    return s;
}

std::string_view Clipped(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

FilterValue Eval(const Node& n);

FilterValue Num(double d) { return FilterValue{false, {}, d}; }
FilterValue Txt(std::string s) { return FilterValue{true, std::move(s), 0}; }

FilterValue Compare(const Node& n) {
    const FilterValue a = Eval(*n.args[0]);
    const FilterValue b = Eval(*n.args[1]);
    int c;
    if (a.text && b.text) {
        const auto x = Clipped(a.s), y = Clipped(b.s);
        c = x.compare(y);
    } else {
        const double x = Numeric(a), y = Numeric(b);
        c = x < y ? -1 : (x > y ? 1 : 0);
    }
    bool r = false;
    if (n.op == "=") r = c == 0;
    else if (n.op == "<>") r = c != 0;
    else if (n.op == "<") r = c < 0;
    else if (n.op == ">") r = c > 0;
    else if (n.op == "<=") r = c <= 0;
    else if (n.op == ">=") r = c >= 0;
    return Num(r ? 1 : 0);
}

// INSTRING(sub, s, step, start): the step number at which sub is found,
// trying positions start, start+step ... while sub fits in s; 0 if none.
FilterValue Instring(const Node& n) {
    const std::string sub = AsText(Eval(*n.args[0]));
    const std::string s = AsText(Eval(*n.args[1]));
    long step = n.args.size() > 2 ? static_cast<long>(Numeric(Eval(*n.args[2]))) : 1;
    long start = n.args.size() > 3 ? static_cast<long>(Numeric(Eval(*n.args[3]))) : 1;
    if (step <= 0) step = 1;
    if (start < 1) start = 1;
    if (sub.empty()) return Num(0);
    for (long pos = start; pos - 1 + static_cast<long>(sub.size()) <= static_cast<long>(s.size()); pos += step)
        if (s.compare(static_cast<std::size_t>(pos - 1), sub.size(), sub) == 0) return Num(static_cast<double>((pos - 1) / step + 1));
    return Num(0);
}

FilterValue Eval(const Node& n) {
    switch (n.kind) {
    case Node::Number:
    case Node::Text: return n.literal;
    case Node::Name: {
        const void* rec = n.operand.record();
        const FieldDecl& f = n.operand.field;
        if (f.type == FieldType::String) return Txt(std::string(static_cast<const char*>(rec) + f.offset, f.size));
        if (IsTextField(f.type)) return Txt(GetText(rec, f));
        return Num(GetReal(rec, f));
    }
    case Node::Upper: return Txt(UpperText(AsText(Eval(*n.args[0]))));
    case Node::Clip: return Txt(std::string(Clipped(AsText(Eval(*n.args[0])))));
    case Node::Sub: {
        const std::string s = AsText(Eval(*n.args[0]));
        long start = static_cast<long>(Numeric(Eval(*n.args[1])));
        long len = static_cast<long>(Numeric(Eval(*n.args[2])));
        if (start < 1) start = 1;
        if (len < 0) len = 0;
        if (static_cast<std::size_t>(start) > s.size()) return Txt("");
        return Txt(s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(len)));
    }
    case Node::Instring: return Instring(n);
    case Node::Neg: return Num(-Numeric(Eval(*n.args[0])));
    case Node::Not: return Num(Eval(*n.args[0]).Truth() ? 0 : 1);
    case Node::And: return Num(Eval(*n.args[0]).Truth() && Eval(*n.args[1]).Truth() ? 1 : 0);
    case Node::Or: return Num(Eval(*n.args[0]).Truth() || Eval(*n.args[1]).Truth() ? 1 : 0);
    case Node::Add: return Num(Numeric(Eval(*n.args[0])) + Numeric(Eval(*n.args[1])));
    case Node::Subtract: return Num(Numeric(Eval(*n.args[0])) - Numeric(Eval(*n.args[1])));
    case Node::Cmp: return Compare(n);
    }
    return Num(0);
}

class Parser {
public:
    Parser(std::string_view text, const NameResolver& resolve) : t_(text), resolve_(resolve) {}

    NodePtr ParseAll(int* error) {
        NodePtr n = OrExpr();
        Skip();
        if (!n || pos_ != t_.size()) {
            *error = error_ ? error_ : 800;
            return nullptr;
        }
        *error = 0;
        return n;
    }

private:
    void Skip() {
        while (pos_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[pos_]))) ++pos_;
    }
    static bool NameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
    static bool NameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':'; }

    // A keyword (AND, OR, NOT) as a whole word.
    bool Keyword(const char* kw) {
        Skip();
        const std::size_t n = std::char_traits<char>::length(kw);
        if (t_.size() - pos_ < n || CompareFolded(t_.substr(pos_, n), kw) != 0) return false;
        if (pos_ + n < t_.size() && NameChar(t_[pos_ + n])) return false;
        pos_ += n;
        return true;
    }
    bool Symbol(std::string_view s) {
        Skip();
        if (t_.substr(pos_, s.size()) != s) return false;
        pos_ += s.size();
        return true;
    }
    static NodePtr Make(Node::Kind k, std::vector<NodePtr> args, std::string op = {}) {
        auto n = std::make_shared<Node>();
        n->kind = k;
        n->args = std::move(args);
        n->op = std::move(op);
        return n;
    }
    NodePtr Fail(int code = 800) {
        if (!error_) error_ = code;
        return nullptr;
    }

    NodePtr OrExpr() {
        NodePtr l = AndExpr();
        while (l && Keyword("OR")) {
            NodePtr r = AndExpr();
            if (!r) return nullptr;
            l = Make(Node::Or, {l, r});
        }
        return l;
    }
    NodePtr AndExpr() {
        NodePtr l = NotExpr();
        while (l && Keyword("AND")) {
            NodePtr r = NotExpr();
            if (!r) return nullptr;
            l = Make(Node::And, {l, r});
        }
        return l;
    }
    NodePtr NotExpr() {
        if (Keyword("NOT")) {
            NodePtr e = NotExpr();
            return e ? Make(Node::Not, {e}) : nullptr;
        }
        return CmpExpr();
    }
    NodePtr CmpExpr() {
        NodePtr l = AddExpr();
        if (!l) return nullptr;
        for (const char* op : {"<>", "<=", ">=", "=", "<", ">"}) {
            if (Symbol(op)) {
                NodePtr r = AddExpr();
                return r ? Make(Node::Cmp, {l, r}, op) : nullptr;
            }
        }
        return l;
    }
    NodePtr AddExpr() {
        NodePtr l = Unary();
        for (;;) {
            if (!l) return nullptr;
            if (Symbol("+")) {
                NodePtr r = Unary();
                if (!r) return nullptr;
                l = Make(Node::Add, {l, r});
            } else if (Symbol("-")) {
                NodePtr r = Unary();
                if (!r) return nullptr;
                l = Make(Node::Subtract, {l, r});
            } else {
                return l;
            }
        }
    }
    NodePtr Unary() {
        if (Symbol("-")) {
            NodePtr e = Unary();
            return e ? Make(Node::Neg, {e}) : nullptr;
        }
        return Primary();
    }
    NodePtr Primary() {
        Skip();
        if (pos_ >= t_.size()) return Fail();
        const char c = t_[pos_];
        if (c == '(') {
            ++pos_;
            NodePtr e = OrExpr();
            if (!e || !Symbol(")")) return Fail();
            return e;
        }
        if (c == '\'') {
            std::string s;
            ++pos_;
            for (;;) {
                if (pos_ >= t_.size()) return Fail();
                if (t_[pos_] == '\'') {
                    if (pos_ + 1 < t_.size() && t_[pos_ + 1] == '\'') {
                        s += '\'';
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                s += t_[pos_++];
            }
            auto n = std::make_shared<Node>();
            n->kind = Node::Text;
            n->literal = Txt(std::move(s));
            return n;
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            const std::size_t start = pos_;
            while (pos_ < t_.size() && (std::isdigit(static_cast<unsigned char>(t_[pos_])) || t_[pos_] == '.')) ++pos_;
            auto n = std::make_shared<Node>();
            n->kind = Node::Number;
            n->literal = Num(std::strtod(std::string(t_.substr(start, pos_ - start)).c_str(), nullptr));
            return n;
        }
        if (!NameStart(c)) return Fail();
        const std::size_t start = pos_;
        while (pos_ < t_.size() && NameChar(t_[pos_])) ++pos_;
        const std::string_view name = t_.substr(start, pos_ - start);
        if (Symbol("(")) return Call(name);
        auto n = std::make_shared<Node>();
        n->kind = Node::Name;
        if (!resolve_ || !resolve_(name, &n->operand)) return Fail(801);
        return n;
    }
    NodePtr Call(std::string_view fn) {
        std::vector<NodePtr> args;
        if (!Symbol(")")) {
            for (;;) {
                NodePtr a = OrExpr();
                if (!a) return nullptr;
                args.push_back(a);
                if (Symbol(")")) break;
                if (!Symbol(",")) return Fail();
            }
        }
        struct Fn {
            const char* name;
            Node::Kind kind;
            std::size_t minArgs, maxArgs;
        } static const fns[] = {{"UPPER", Node::Upper, 1, 1},
                                {"CLIP", Node::Clip, 1, 1},
                                {"SUB", Node::Sub, 3, 3},
                                {"INSTRING", Node::Instring, 2, 4}};
        for (const auto& f : fns)
            if (CompareFolded(fn, f.name) == 0 && fn.size() == std::char_traits<char>::length(f.name)) {
                if (args.size() < f.minArgs || args.size() > f.maxArgs) return Fail();
                return Make(f.kind, std::move(args));
            }
        return Fail(801);
    }

    std::string_view t_;
    const NameResolver& resolve_;
    std::size_t pos_ = 0;
    int error_ = 0;
};

bool DependsOn(const Node& n, const std::vector<const void*>& tags) {
    if (n.kind == Node::Name && std::find(tags.begin(), tags.end(), n.operand.tag) != tags.end()) return true;
    for (const auto& a : n.args)
        if (DependsOn(*a, tags)) return true;
    return false;
}

const Node* StripCase(const Node* n) {
    while ((n->kind == Node::Upper || n->kind == Node::Clip) && n->args.size() == 1) n = n->args[0].get();
    return n;
}

void CollectFixed(const NodePtr& n, const std::vector<const void*>& own, std::vector<FixedField>* out) {
    if (n->kind == Node::And) {
        CollectFixed(n->args[0], own, out);
        CollectFixed(n->args[1], own, out);
        return;
    }
    if (n->kind != Node::Cmp || n->op != "=") return;
    for (int side = 0; side < 2; ++side) {
        const Node* field = StripCase(n->args[static_cast<std::size_t>(side)].get());
        const NodePtr& value = n->args[static_cast<std::size_t>(1 - side)];
        if (field->kind != Node::Name || std::find(own.begin(), own.end(), field->operand.tag) == own.end()) continue;
        if (DependsOn(*value, own)) continue;
        // A text field is limited only by a text value: a number compared
        // with a text field compares numerically, which the key order does not.
        const bool textField = IsTextField(field->operand.field.type);
        const Node* v = StripCase(value.get());
        const bool textValue = v->kind == Node::Text ||
                               (v->kind == Node::Name && IsTextField(v->operand.field.type)) ||
                               value->kind == Node::Upper || value->kind == Node::Clip || v->kind == Node::Sub;
        if (textField != textValue) continue;
        out->push_back(FixedField{field->operand.tag, field->operand.fieldIndex, std::make_shared<Expression>(value)});
        return;
    }
}

}  // namespace

std::shared_ptr<Expression> Expression::Parse(std::string_view text, const NameResolver& resolve, int* error) {
    Parser p(text, resolve);
    NodePtr root = p.ParseAll(error);
    if (!root) return nullptr;
    return std::make_shared<Expression>(root);
}

FilterValue Expression::Evaluate() const { return Eval(*root_); }

std::vector<FixedField> Expression::FixedFields(const std::vector<const void*>& ownTags) const {
    std::vector<FixedField> out;
    CollectFixed(root_, ownTags, &out);
    return out;
}

}  // namespace fw::data
