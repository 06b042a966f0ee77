#include "report/LanguageCheck.h"

#include "platform/Ascii.h"
#include "platform/FileSystem.h"
#include "platform/TextReader.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <utility>

namespace brennic::report {

namespace {

using platform::asciiUpperCopy;
using platform::equalIgnoringCase;

// Lines longer than this are no script lines a user would keep.
constexpr std::size_t kMaxLineLength = std::size_t{1} << 20;
// Words of the script quoted in a reason are cut to this many bytes.
constexpr std::size_t kShownBytes = 40;

constexpr std::uint32_t bit(NameKind kind) { return std::uint32_t{1} << static_cast<int>(kind); }
constexpr std::uint32_t kThing =
    bit(NameKind::Character) | bit(NameKind::Car) | bit(NameKind::Object);
constexpr std::uint32_t kAnyName = bit(NameKind::Subroutine) - 1;

// The kinds a shape item asks for; 0 when the item names no kind.
std::uint32_t wantedBy(std::string_view item) {
    struct Want {
        std::string_view item;
        std::uint32_t kinds;
    };
    static constexpr Want kWants[] = {
        {"char", bit(NameKind::Character)},
        {"car", bit(NameKind::Car)},
        {"obj", bit(NameKind::Object)},
        {"thing", kThing},
        {"counter", bit(NameKind::Counter)},
        {"arrow", bit(NameKind::Arrow)},
        {"timer", bit(NameKind::Timer)},
        {"onscreen", bit(NameKind::OnscreenCounter)},
        {"bonus", bit(NameKind::Bonus)},
        {"gen", bit(NameKind::Generator)},
        {"door", bit(NameKind::Door)},
        {"conveyor", bit(NameKind::Conveyor)},
        {"destructor", bit(NameKind::Destructor)},
        {"crane", bit(NameKind::Crane)},
        {"crusher", bit(NameKind::Crusher)},
        {"light", bit(NameKind::Light)},
        {"sound", bit(NameKind::Sound)},
        {"radio", bit(NameKind::RadioStation)},
        {"trigger", bit(NameKind::ThreadTrigger)},
        {"thread", bit(NameKind::Thread)},
        {"any", kAnyName},
    };
    for (const Want& want : kWants) {
        if (want.item == item) {
            return want.kinds;
        }
    }
    return 0;
}

// "character", "character, car or object", "name".
std::string wantedWords(std::uint32_t kinds) {
    if (kinds == kAnyName) {
        return "name";
    }
    std::vector<std::string_view> words;
    for (int kind = 0; kind < static_cast<int>(NameKind::None); ++kind) {
        if (kinds & (std::uint32_t{1} << kind)) {
            words.push_back(Name_kind_word(static_cast<NameKind>(kind)));
        }
    }
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        text += i == 0 ? "" : (i + 1 == words.size() ? " or " : ", ");
        text += words[i];
    }
    return text;
}

// "a character", "an object".
std::string withArticle(std::string_view word) {
    const bool vowel =
        !word.empty() && std::string_view("aeiou").find(word[0]) != std::string_view::npos;
    return (vowel ? "an " : "a ") + std::string(word);
}

std::string shown(std::string_view text) {
    return text.size() <= kShownBytes ? std::string(text)
                                      : std::string(text.substr(0, kShownBytes)) + "...";
}

// The next item of a shape (separated by blanks) or of an item's alternatives (by "|").
std::string_view take(std::string_view& text, char separator) {
    const std::size_t at = text.find(separator);
    const std::string_view item = text.substr(0, at);
    text = at == std::string_view::npos ? std::string_view() : text.substr(at + 1);
    return item;
}

bool isUpperCase(std::string_view word) {
    return std::none_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// Items that stand for several: a point, an area, a block.
constexpr std::string_view kPos[] = {"float", ",", "float", "[", ",", "float", "]"};
constexpr std::string_view kPos3[] = {"float", ",", "float", ",", "float"};
constexpr std::string_view kRect[] = {"float", ",", "float", "[", ",",    "float",
                                      "]",     ",", "float", ",", "float"};
constexpr std::string_view kBlockPos[] = {"num", ",", "num", "[", ",", "num", "]"};

std::vector<std::string_view> expand(std::string_view shape) {
    std::vector<std::string_view> items;
    while (!shape.empty()) {
        const std::string_view item = take(shape, ' ');
        if (item == "pos") {
            items.insert(items.end(), std::begin(kPos), std::end(kPos));
        } else if (item == "pos3") {
            items.insert(items.end(), std::begin(kPos3), std::end(kPos3));
        } else if (item == "rect") {
            items.insert(items.end(), std::begin(kRect), std::end(kRect));
        } else if (item == "blockpos") {
            items.insert(items.end(), std::begin(kBlockPos), std::end(kBlockPos));
        } else {
            items.push_back(item);
        }
    }
    return items;
}

// One alternative of a shape item, sorted out once: what it matches and how.
struct Alternative {
    enum class Type : std::uint8_t {
        Int,
        Float,
        Num,
        Constant,
        Sub,
        NewSub,
        File,
        New,
        Zone,
        Sign,
        Word
    };
    Type type = Type::Word;
    std::string_view text{};
    const ConstantSet* set = nullptr; // Constant
};

// A shape item as the matcher uses it: its text, the kinds of names it allows, and its other
// alternatives.
struct ShapeItem {
    std::string_view text{};
    std::uint32_t kinds = 0;
    std::vector<Alternative> others{};
};

Alternative alternativeOf(std::string_view text) {
    using Type = Alternative::Type;
    constexpr std::pair<std::string_view, Type> kTypes[] = {
        {"int", Type::Int},       {"float", Type::Float}, {"num", Type::Num}, {"sub", Type::Sub},
        {"newsub", Type::NewSub}, {"file", Type::File},   {"new", Type::New}, {"zone", Type::Zone},
    };
    for (const auto& [name, type] : kTypes) {
        if (text == name) {
            return {type, text, nullptr};
        }
    }
    if (text.starts_with('@')) {
        return {Type::Constant, text, Constant_set(text.substr(1))};
    }
    if (text.size() == 1 && !(text[0] >= 'A' && text[0] <= 'Z')) {
        return {Type::Sign, text, nullptr};
    }
    return {Type::Word, text, nullptr};
}

std::vector<ShapeItem> compile(std::string_view shape) {
    std::vector<ShapeItem> items;
    for (const std::string_view text : expand(shape)) {
        ShapeItem item{text, 0, {}};
        for (std::string_view rest = text; !rest.empty();) {
            const std::string_view alternative = take(rest, '|');
            if (const std::uint32_t wanted = wantedBy(alternative); wanted != 0) {
                item.kinds |= wanted;
            } else {
                item.others.push_back(alternativeOf(alternative));
            }
        }
        items.push_back(std::move(item));
    }
    return items;
}

const std::vector<ShapeItem>& itemsOf(const StatementForm& form) {
    static const std::unordered_map<const StatementForm*, std::vector<ShapeItem>> cache = [] {
        std::unordered_map<const StatementForm*, std::vector<ShapeItem>> built;
        for (const StatementForm& each : Statement_forms()) {
            built.emplace(&each, compile(each.shape));
        }
        return built;
    }();
    return cache.at(&form);
}

// The form as a reader would write it: "POINT_ARROW_AT ( arrow , x.x , y.y [ , z.z ] )".
std::string display(const StatementForm& form) {
    struct Shown {
        std::string_view item;
        std::string_view text;
    };
    static constexpr Shown kShown[] = {
        {"int", "n"},
        {"float", "n.n"},
        {"num", "n"},
        {"pos", "x.x , y.y [ , z.z ]"},
        {"pos3", "x.x , y.y , z.z"},
        {"rect", "x.x , y.y [ , z.z ] , width , height"},
        {"blockpos", "x , y [ , z ]"},
        {"char", "character"},
        {"obj", "object"},
        {"thing", "character|car|object"},
        {"gen", "generator"},
        {"onscreen", "onscreen_counter"},
        {"radio", "radio_station"},
        {"trigger", "thread_trigger"},
        {"any", "name"},
        {"new", "name"},
        {"sub", "subroutine:"},
        {"newsub", "name:"},
    };
    std::string text(form.role == StatementRole::Creation ? "name = " : "");
    text += form.word;
    std::string_view shape = form.shape;
    while (!shape.empty()) {
        std::string_view item = take(shape, ' ');
        for (const Shown& each : kShown) {
            if (each.item == item) {
                item = each.text;
            }
        }
        text += ' ';
        text += item;
    }
    return text;
}

bool isPunct(std::string_view text, char c) { return text.size() == 1 && text[0] == c; }

} // namespace

// A name or word a matched statement refers to; applied only once the whole statement fits.
struct LanguageCheck::Reference {
    enum class Type : std::uint8_t { Use, Declare, UseSubroutine, DeclareSubroutine, Word };
    Type type = Type::Word;
    std::string_view text{};
    std::uint32_t wanted = 0;      // Use
    std::string_view documented{}; // Word: the table's spelling, empty for a constant
};

// Fits tokens to a form's items, trying an optional group before leaving it out, and remembers
// how far a failed fit got and what it wanted there.
class LanguageCheck::Matcher {
  public:
    explicit Matcher(std::span<const Token> tokens) : m_tokens(tokens) {}

    // Whether the items fit the tokens from pos on; end is where the fit stops.
    bool fit(const std::vector<ShapeItem>& items, std::size_t pos, std::size_t& end) {
        m_items = &items;
        return from(0, pos, end);
    }

    std::vector<Reference> references;
    std::size_t failPos = 0;
    std::string_view failItem{};

  private:
    bool from(std::size_t i, std::size_t pos, std::size_t& end) {
        const std::vector<ShapeItem>& items = *m_items;
        while (i < items.size()) {
            if (isPunct(items[i].text, '[')) {
                const std::size_t kept = references.size();
                if (from(i + 1, pos, end)) {
                    return true;
                }
                references.resize(kept);
                int depth = 0;
                for (; i < items.size(); ++i) {
                    depth +=
                        isPunct(items[i].text, '[') ? 1 : (isPunct(items[i].text, ']') ? -1 : 0);
                    if (depth == 0) {
                        break;
                    }
                }
                ++i;
                continue;
            }
            if (!isPunct(items[i].text, ']') && !one(items[i], pos)) {
                return false;
            }
            ++i;
        }
        end = pos;
        return true;
    }

    // Alternatives naming kinds ("char|car") are one use that allows each of them, tried after
    // the constants and words beside them.
    bool one(const ShapeItem& item, std::size_t& pos) {
        for (const Alternative& alternative : item.others) {
            if (primitive(alternative, pos)) {
                return true;
            }
        }
        if (item.kinds != 0 && pos < m_tokens.size() && m_tokens[pos].type == Token::Type::Name) {
            references.push_back({Reference::Type::Use, m_tokens[pos].text, item.kinds, {}});
            ++pos;
            return true;
        }
        return item.kinds == 0 ? false : miss(pos, item.text);
    }

    bool primitive(const Alternative& alternative, std::size_t& pos) {
        using Type = Alternative::Type;
        const std::string_view item = alternative.text;
        const bool more = pos < m_tokens.size();
        const Token* token = more ? &m_tokens[pos] : nullptr;
        const bool isName = more && token->type == Token::Type::Name;
        switch (alternative.type) {
        case Type::Int:
        case Type::Float:
        case Type::Num: {
            std::size_t at = pos;
            if (at < m_tokens.size() && m_tokens[at].type == Token::Type::Punct &&
                isPunct(m_tokens[at].text, '-')) {
                ++at;
            }
            if (at < m_tokens.size() &&
                ((m_tokens[at].type == Token::Type::Int && alternative.type != Type::Float) ||
                 (m_tokens[at].type == Token::Type::Float && alternative.type != Type::Int))) {
                pos = at + 1;
                return true;
            }
            return miss(pos, item);
        }
        case Type::Constant:
            if (isName && alternative.set != nullptr &&
                In_constant_set(*alternative.set, token->text)) {
                references.push_back({Reference::Type::Word, token->text, 0, {}});
                ++pos;
                return true;
            }
            return miss(pos, item);
        case Type::Sub:
        case Type::NewSub:
            if (isName && pos + 1 < m_tokens.size() && isPunct(m_tokens[pos + 1].text, ':')) {
                references.push_back({alternative.type == Type::Sub
                                          ? Reference::Type::UseSubroutine
                                          : Reference::Type::DeclareSubroutine,
                                      token->text,
                                      0,
                                      {}});
                pos += 2;
                return true;
            }
            return miss(pos, item);
        // A script's file name ("wil_ye1.mis") as LAUNCH_MISSION and the phone templates take it:
        // whatever stands up to the next comma or parenthesis.
        case Type::File: {
            const std::size_t start = pos;
            while (pos < m_tokens.size() &&
                   !(m_tokens[pos].type == Token::Type::Punct &&
                     std::string_view(",()").find(m_tokens[pos].text) != std::string_view::npos)) {
                ++pos;
            }
            return pos > start || miss(pos, item);
        }
        case Type::New:
        case Type::Zone:
            if (isName) {
                if (alternative.type == Type::New) {
                    references.push_back({Reference::Type::Declare, token->text, 0, {}});
                }
                ++pos;
                return true;
            }
            return miss(pos, item);
        case Type::Sign:
            if (more && token->type == Token::Type::Punct && token->text == item) {
                ++pos;
                return true;
            }
            return miss(pos, item);
        case Type::Word:
            break;
        }
        if (isName && equalIgnoringCase(token->text, item)) {
            references.push_back({Reference::Type::Word, token->text, 0, item});
            ++pos;
            return true;
        }
        return miss(pos, item);
    }

    bool miss(std::size_t pos, std::string_view item) {
        if (pos >= failPos) {
            failPos = pos;
            failItem = item;
        }
        return false;
    }

    std::span<const Token> m_tokens;
    const std::vector<ShapeItem>* m_items = nullptr;
};

namespace {

// Why no form fit, from the farthest point a fit reached.
struct Fault {
    LanguageRule rule = LanguageRule::Arguments;
    std::string reason{};
};

template <typename Token>
Fault faultOf(std::span<const StatementForm* const> forms, std::span<const Token> tokens,
              std::size_t failPos, std::string_view failItem) {
    const Token* token = failPos < tokens.size() ? &tokens[failPos] : nullptr;
    if (token != nullptr && token->type == Token::Type::Punct && isPunct(token->text, '-') &&
        failPos + 1 < tokens.size()) {
        token = &tokens[failPos + 1];
    }
    std::vector<std::string_view> wanted;
    for (std::string_view rest = failItem; !rest.empty();) {
        wanted.push_back(take(rest, '|'));
    }
    const auto wants = [&](std::string_view item) {
        return std::find(wanted.begin(), wanted.end(), item) != wanted.end();
    };
    if (token != nullptr) {
        if (token->type == Token::Type::Int && wants("float") && !wants("int")) {
            return {LanguageRule::Number, shown(token->text) + " needs a decimal point here (" +
                                              shown(token->text) + ".0)"};
        }
        if (token->type == Token::Type::Float && wants("int") && !wants("float")) {
            return {LanguageRule::Number,
                    shown(token->text) + " has a decimal point where a whole number belongs"};
        }
        if (token->type == Token::Type::Name) {
            for (std::string_view item : wanted) {
                if (item.front() != '@') {
                    continue;
                }
                if (const ConstantSet* set = Constant_set(item.substr(1)); set != nullptr) {
                    return {LanguageRule::UnknownConstant,
                            shown(token->text) + " is no " + std::string(set->describe)};
                }
            }
        }
    } else if (failItem == "END") {
        return {LanguageRule::Arguments,
                "the creation does not end with END: " + display(*forms.front())};
    }
    std::string text = "does not fit ";
    for (std::size_t i = 0; i < forms.size(); ++i) {
        text += (i == 0 ? "" : " or ") + display(*forms[i]);
    }
    return {LanguageRule::Arguments, text};
}

template <typename Kept> bool laterInLineOrder(const Kept& a, const Kept& b) {
    return std::tie(a.item.scriptLine, a.order) < std::tie(b.item.scriptLine, b.order);
}

} // namespace

std::string Line_excerpt(std::string_view line) {
    if (line.size() <= kExcerptBytes) {
        return std::string(line);
    }
    return std::string(line.substr(0, kExcerptBytes)) + "...";
}

void LanguageCheck::report(const Place& at, LanguageRule rule, std::string reason,
                           std::string excerpt, bool counted) {
    ++(counted ? m_counted : m_notChecked);
    Kept kept{{at.line, rule, counted, std::move(reason), std::move(excerpt), at.origin},
              m_reported++};
    if (m_items.size() < m_maxItems) {
        m_items.push_back(std::move(kept));
        std::push_heap(m_items.begin(), m_items.end(), laterInLineOrder<Kept>);
        return;
    }
    ++m_unlisted;
    // Names settled at the end may come before items already kept: the first lines win.
    if (!m_items.empty() && laterInLineOrder(kept, m_items.front())) {
        std::pop_heap(m_items.begin(), m_items.end(), laterInLineOrder<Kept>);
        m_items.back() = std::move(kept);
        std::push_heap(m_items.begin(), m_items.end(), laterInLineOrder<Kept>);
    }
}

void LanguageCheck::report(LanguageRule rule, std::string reason, bool counted) {
    report(here(), rule, std::move(reason), excerpt(), counted);
}

std::string LanguageCheck::excerpt() const { return Line_excerpt(m_text); }

std::vector<LanguageItem> LanguageCheck::items() const {
    std::vector<Kept> sorted = m_items;
    std::sort(sorted.begin(), sorted.end(), laterInLineOrder<Kept>);
    std::vector<LanguageItem> items;
    items.reserve(sorted.size());
    for (Kept& kept : sorted) {
        items.push_back(std::move(kept.item));
    }
    return items;
}

void LanguageCheck::addLine(std::string_view line, std::string_view origin) {
    ++m_line;
    m_origin.assign(origin);
    m_text = line;
    prepare(line);
    tokenize();
    std::size_t pos = 0;
    if (m_condition && !m_tokens.empty()) {
        if (continuesCondition()) {
            pos = condition(0);
        } else {
            report(m_condition->at, LanguageRule::Condition,
                   "the condition of " + std::string(m_condition->word) + " does not close",
                   std::string(m_condition->word));
            m_condition.reset();
        }
    }
    while (pos < m_tokens.size()) {
        pos = statement(pos);
    }
    m_text = {};
}

// Blanks comments and control bytes, so that tokens are taken from what the compiler reads.
void LanguageCheck::prepare(std::string_view line) {
    m_code.assign(line.size(), ' ');
    bool controlListed = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool next = i + 1 < line.size();
        if (m_inComment) {
            if (line[i] == '*' && next && line[i + 1] == '/') {
                m_inComment = false;
                ++i;
            }
            continue;
        }
        if (line[i] == '/' && next && line[i + 1] == '/') {
            break;
        }
        if (line[i] == '/' && next && line[i + 1] == '*') {
            m_inComment = true;
            m_commentStart = here();
            ++i;
            continue;
        }
        const auto byte = static_cast<unsigned char>(line[i]);
        if ((byte < 0x20 && byte != '\t' && byte != '\r') || byte == 0x7F) {
            if (!controlListed) {
                const std::string shownByte = platform::escapeControlBytes(line.substr(i, 1));
                // A file's reader hands on a Ctrl-Z with text behind it as a line of its own.
                report(LanguageRule::ControlByte,
                       byte == 0x1A ? "control byte " + shownByte +
                                          " (Ctrl-Z), where reading stops; what follows is unread"
                                    : "control byte " + shownByte);
                controlListed = true;
            }
            continue;
        }
        m_code[i] = line[i];
    }
}

void LanguageCheck::tokenize() {
    m_tokens.clear();
    const std::string_view code = m_code;
    const auto letter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    while (i < code.size()) {
        const char c = code[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        Token::Type type = Token::Type::Other;
        if (letter(c)) {
            while (end < code.size() && (letter(code[end]) || digit(code[end]))) {
                ++end;
            }
            type = Token::Type::Name;
        } else if (digit(c) || (c == '.' && end < code.size() && digit(code[end]))) {
            type = c == '.' ? Token::Type::Float : Token::Type::Int;
            while (end < code.size() && (digit(code[end]) || code[end] == '.')) {
                type = code[end] == '.' ? Token::Type::Float : type;
                ++end;
            }
        } else if (std::string_view("(),=:+-*/<>").find(c) != std::string_view::npos) {
            type = Token::Type::Punct;
        }
        m_tokens.push_back({type, code.substr(i, end - i)});
        i = end;
    }
}

std::size_t LanguageCheck::statement(std::size_t pos) {
    const std::size_t count = m_tokens.size();
    const Token& first = m_tokens[pos];
    if (first.type == Token::Type::Punct &&
        (isPunct(first.text, '+') || isPunct(first.text, '-')) && pos + 1 < count &&
        m_tokens[pos + 1].text == first.text) {
        return declarationOrCommand(Forms_of(first.text[0] == '+' ? "++" : "--"), pos + 2);
    }
    if (first.type != Token::Type::Name) {
        if (first.text == "#") {
            report(LanguageRule::NotChecked,
                   "not checked: the form of lines beginning with # is not documented", false);
        } else {
            report(LanguageRule::UnknownStatement, "no statement begins with " + shown(first.text));
        }
        return count;
    }
    const bool next = pos + 1 < count;
    // No statement word is followed by "=": this is a creation, whatever the name.
    if (next && isPunct(m_tokens[pos + 1].text, '=')) {
        return creation(pos);
    }
    const std::span<const StatementForm* const> forms = Forms_of(first.text);
    if (forms.empty()) {
        if (next && isPunct(m_tokens[pos + 1].text, ':')) {
            if (!m_blocks.empty()) {
                report(LanguageRule::NotChecked,
                       "not checked: a subroutine begins inside " +
                           std::string(m_blocks.back().word) + " (line " +
                           std::to_string(m_blocks.back().at.line) + ")",
                       false);
            } else if (m_subroutine) {
                report(LanguageRule::NotChecked,
                       "not checked: the subroutine of line " + std::to_string(*m_subroutine) +
                           " has no RETURN before this one",
                       false);
            }
            declareSubroutine(first.text, true);
            m_subroutine = m_line;
            return pos + 2;
        }
        if (next &&
            (isPunct(m_tokens[pos + 1].text, '+') || isPunct(m_tokens[pos + 1].text, '-'))) {
            report(LanguageRule::NotChecked,
                   "not checked: arithmetic outside SET is not documented", false);
            return count;
        }
        report(LanguageRule::UnknownStatement, "unknown statement " + shown(first.text));
        return count;
    }
    spelling(first.text, forms.front()->word);
    switch (forms.front()->role) {
    case StatementRole::Block:
        return block(forms.front()->word, pos + 1);
    case StatementRole::Condition:
        report(LanguageRule::Condition,
               shown(first.text) + " is a condition: it belongs inside IF, WHILE or WHILE_TRUE");
        return count;
    case StatementRole::Creation:
        report(LanguageRule::Arguments,
               shown(first.text) +
                   " makes a thing for a declared name: name = " + shown(first.text) + " ...");
        return count;
    case StatementRole::Declaration:
    case StatementRole::Command:
        break;
    }
    return declarationOrCommand(forms, pos + 1);
}

std::size_t LanguageCheck::declarationOrCommand(std::span<const StatementForm* const> forms,
                                                std::size_t pos) {
    const StatementForm& form = *forms.front();
    if (!form.checked) {
        report(LanguageRule::NotChecked,
               "not checked: " + std::string(form.word) + " is known by name only (" +
                   std::string(form.note) + ")",
               false);
        return m_tokens.size();
    }
    // The form that fits the most tokens; one that fits only a part while a longer try got
    // further is a fault in that try (an optional part gone wrong), not a second statement.
    std::size_t failPos = 0;
    std::string_view failItem;
    std::optional<Matcher> best;
    const StatementForm* bestForm = nullptr;
    std::size_t bestEnd = pos;
    for (const StatementForm* each : forms) {
        Matcher matcher(m_tokens);
        std::size_t end = pos;
        const bool fits = matcher.fit(itemsOf(*each), pos, end);
        if (matcher.failPos >= failPos) {
            failPos = matcher.failPos;
            failItem = matcher.failItem;
        }
        if (fits && (!best || end > bestEnd)) {
            bestEnd = end;
            bestForm = each;
            best = std::move(matcher);
        }
    }
    if (best && (bestEnd == m_tokens.size() || failPos <= bestEnd)) {
        if (bestForm->role == StatementRole::Declaration) {
            if (bestForm->declares == NameKind::ThreadTrigger && m_part == Part::Program) {
                report(LanguageRule::Placement,
                       "THREAD_TRIGGER belongs before LEVELSTART or MISSIONSTART");
            }
            if (bestForm->declares == NameKind::Subroutine) {
                if (m_role == ScriptRole::Mission) {
                    report(LanguageRule::Placement, "FORWARD belongs to level scripts only");
                } else if (m_role == ScriptRole::Unknown) {
                    if (m_forwards.size() < m_maxItems) {
                        m_forwards.push_back({m_line, LanguageRule::Placement, true,
                                              "FORWARD belongs to level scripts only", excerpt(),
                                              m_origin});
                    } else {
                        ++m_forwardsNotKept;
                    }
                }
            }
            for (Reference& reference : best->references) {
                if (reference.type == Reference::Type::Declare) {
                    reference.wanted = bit(bestForm->declares);
                }
            }
        }
        apply(best->references);
        return bestEnd;
    }
    Fault fault = faultOf<Token>(forms, m_tokens, failPos, failItem);
    report(fault.rule, std::move(fault.reason));
    // The name of a declaration that went wrong counts as declared: one fault, not one per use.
    if (form.role == StatementRole::Declaration && form.declares != NameKind::Subroutine &&
        pos < m_tokens.size() && m_tokens[pos].type == Token::Type::Name) {
        declare(m_tokens[pos].text, form.declares);
    }
    return m_tokens.size();
}

std::size_t LanguageCheck::creation(std::size_t pos) {
    const std::size_t count = m_tokens.size();
    const Token& name = m_tokens[pos];
    const Token* word = pos + 2 < count ? &m_tokens[pos + 2] : nullptr;
    const std::span<const StatementForm* const> forms =
        word != nullptr && word->type == Token::Type::Name
            ? Forms_of(word->text)
            : std::span<const StatementForm* const>();
    if (forms.empty() || forms.front()->role != StatementRole::Creation) {
        report(LanguageRule::UnknownStatement, "unknown statement " + shown(name.text) +
                                                   " = ...: counters are set with SET, " +
                                                   "things made with CREATE_...");
        return count;
    }
    const StatementForm& form = *forms.front();
    spelling(word->text, form.word);
    if (!form.checked) {
        report(LanguageRule::NotChecked,
               "not checked: " + std::string(form.word) + " is known by name only (" +
                   std::string(form.note) + ")",
               false);
        return count;
    }
    Matcher matcher(m_tokens);
    std::size_t end = pos;
    if (matcher.fit(itemsOf(form), pos + 3, end) && (end == count || matcher.failPos <= end)) {
        use(name.text, bit(form.declares));
        apply(matcher.references);
        return end;
    }
    Fault fault = faultOf<Token>(forms, m_tokens, matcher.failPos, matcher.failItem);
    report(fault.rule, std::move(fault.reason));
    return count;
}

std::size_t LanguageCheck::block(std::string_view word, std::size_t pos) {
    if (word == "LEVELSTART" || word == "MISSIONSTART" || word == "LEVELEND" ||
        word == "MISSIONEND") {
        part(word);
        return pos;
    }
    const auto startCondition = [&](std::size_t at) {
        m_condition = OpenCondition{here(), 0, true, false, word};
        return condition(at);
    };
    if (word == "IF") {
        openBlock(Frame::If, word);
        return startCondition(pos);
    }
    if (word == "WHILE" || word == "WHILE_EXEC") {
        openBlock(Frame::While, word);
        return startCondition(pos);
    }
    if (word == "WHILE_TRUE") {
        close(Frame::Do, word);
        return startCondition(pos);
    }
    if (word == "DO") {
        openBlock(Frame::Do, word);
        return pos;
    }
    // EXEC and ENDEXEC do not nest like the blocks: GTA2's own scripts end the exec part of a
    // WHILE_EXEC with ENDEXEC, and leave an EXEC early with an ENDEXEC inside an IF before the
    // EXEC's own ENDEXEC. They are taken as statements.
    if (word == "EXEC" || word == "ENDEXEC") {
        return pos;
    }
    if (word == "ELSE") {
        if (m_blocks.empty() || m_blocks.back().frame != Frame::If) {
            report(LanguageRule::Block, "ELSE outside IF");
        } else if (m_blocks.back().sawElse) {
            // The compiled form keeps a jump per ELSE; whether one IF may have several is open.
            report(LanguageRule::NotChecked,
                   "not checked: a second ELSE in the IF of line " +
                       std::to_string(m_blocks.back().at.line) +
                       "; whether an IF may have more than one is not documented",
                   false);
        } else {
            m_blocks.back().sawElse = true;
        }
        return pos;
    }
    if (word == "ENDIF" || word == "ENDWHILE") {
        close(word == "ENDIF" ? Frame::If : Frame::While, word);
        return pos;
    }
    // RETURN: at the top level it ends the subroutine; inside a block it returns early.
    if (m_blocks.empty()) {
        if (!m_subroutine) {
            report(LanguageRule::NotChecked, "not checked: RETURN outside a subroutine", false);
        }
        m_subroutine.reset();
    } else if (!m_subroutine) {
        report(LanguageRule::NotChecked, "not checked: RETURN outside a subroutine", false);
    }
    return pos;
}

void LanguageCheck::part(std::string_view word) {
    const bool start = word == "LEVELSTART" || word == "MISSIONSTART";
    const std::string_view began = m_role == ScriptRole::Mission ? "MISSIONSTART" : "LEVELSTART";
    if (start) {
        if (m_part != Part::Declarations) {
            report(LanguageRule::Block, std::string(word) + " after the " + std::string(began) +
                                            " of line " + std::to_string(m_startLine));
            return;
        }
        m_part = Part::Program;
        m_startLine = m_line;
        m_role = word == "LEVELSTART" ? ScriptRole::Level : ScriptRole::Mission;
        if (m_role == ScriptRole::Mission) {
            for (LanguageItem& item : m_forwards) {
                report({item.scriptLine, std::move(item.origin)}, item.rule, std::move(item.reason),
                       std::move(item.excerpt));
            }
            m_counted += m_forwardsNotKept;
            m_unlisted += m_forwardsNotKept;
        }
        m_forwards.clear();
        m_forwardsNotKept = 0;
        return;
    }
    const std::string_view expected = m_role == ScriptRole::Mission ? "MISSIONEND" : "LEVELEND";
    if (m_part != Part::Program) {
        report(LanguageRule::Block, std::string(word) + " without " +
                                        (word == "LEVELEND" ? "LEVELSTART" : "MISSIONSTART"));
        return;
    }
    if (word != expected) {
        report(LanguageRule::Block, std::string(word) + " ends what the " + std::string(began) +
                                        " of line " + std::to_string(m_startLine) + " began");
    }
    closeAll(word);
    m_part = Part::Ended;
}

void LanguageCheck::openBlock(Frame frame, std::string_view word) {
    m_blocks.push_back({frame, here(), false, word});
    ++m_openFrames[static_cast<std::size_t>(frame)];
}

void LanguageCheck::dropBlock() {
    --m_openFrames[static_cast<std::size_t>(m_blocks.back().frame)];
    m_blocks.pop_back();
}

void LanguageCheck::close(Frame frame, std::string_view word) {
    if (m_openFrames[static_cast<std::size_t>(frame)] == 0) {
        constexpr std::string_view kOpeners[] = {"IF", "WHILE or WHILE_EXEC", "DO"};
        report(LanguageRule::Block,
               std::string(word) + " without " + std::string(kOpeners[static_cast<int>(frame)]));
        return;
    }
    while (m_blocks.back().frame != frame) {
        const Open& inner = m_blocks.back();
        report(inner.at, LanguageRule::Block,
               std::string(inner.word) + " is not closed before the " + std::string(word) +
                   " of line " + std::to_string(m_line),
               std::string(inner.word));
        dropBlock();
    }
    dropBlock();
}

void LanguageCheck::closeAll(std::string_view why) {
    while (!m_blocks.empty()) {
        const Open& inner = m_blocks.back();
        report(inner.at, LanguageRule::Block,
               std::string(inner.word) + " is not closed before " + std::string(why),
               std::string(inner.word));
        dropBlock();
    }
    if (m_subroutine) {
        report(LanguageRule::NotChecked,
               "not checked: the subroutine of line " + std::to_string(*m_subroutine) +
                   " has no RETURN",
               false);
        m_subroutine.reset();
    }
}

bool LanguageCheck::continuesCondition() const {
    const Token& first = m_tokens.front();
    if (m_condition->depth == 0) {
        return isPunct(first.text, '(');
    }
    if (first.type == Token::Type::Punct) {
        return isPunct(first.text, '(') || isPunct(first.text, ')');
    }
    if (first.type != Token::Type::Name) {
        return false;
    }
    if (equalIgnoringCase(first.text, "AND") || equalIgnoringCase(first.text, "OR") ||
        equalIgnoringCase(first.text, "NOT")) {
        return true;
    }
    const std::span<const StatementForm* const> forms = Forms_of(first.text);
    if (!forms.empty()) {
        return forms.front()->role == StatementRole::Condition;
    }
    return m_tokens.size() > 1 && m_tokens[1].type == Token::Type::Punct &&
           std::string_view("=<>").find(m_tokens[1].text) != std::string_view::npos;
}

void LanguageCheck::conditionFault(std::string reason, LanguageRule rule) {
    report(rule, std::move(reason));
    m_condition->broken = true;
}

// Walks a condition, which may go on over the next lines while its parentheses are open.
std::size_t LanguageCheck::condition(std::size_t pos) {
    const std::size_t count = m_tokens.size();
    while (pos < count && m_condition) {
        OpenCondition& open = *m_condition;
        const Token& token = m_tokens[pos];
        const bool opening = isPunct(token.text, '(') && token.type == Token::Type::Punct;
        const bool closing = isPunct(token.text, ')') && token.type == Token::Type::Punct;
        if (open.depth == 0 && !opening) {
            report(LanguageRule::Condition,
                   std::string(open.word) + " needs its condition in parentheses");
            m_condition.reset();
            return count;
        }
        if (open.broken) {
            open.depth += opening ? 1 : (closing ? -1 : 0);
            ++pos;
        } else if (opening) {
            if (!open.operand) {
                conditionFault("AND or OR is missing before (");
            }
            ++open.depth;
            ++pos;
        } else if (closing) {
            if (open.operand) {
                conditionFault("a condition is missing before )");
            }
            --open.depth;
            ++pos;
        } else if (token.type == Token::Type::Name &&
                   (equalIgnoringCase(token.text, "AND") || equalIgnoringCase(token.text, "OR"))) {
            if (open.operand) {
                conditionFault(shown(token.text) + " without a condition before it");
            }
            open.operand = true;
            ++pos;
        } else if (token.type == Token::Type::Name && equalIgnoringCase(token.text, "NOT")) {
            if (!open.operand) {
                conditionFault("AND or OR is missing before NOT");
            }
            ++pos;
        } else if (token.type != Token::Type::Name) {
            conditionFault("no condition begins with " + shown(token.text));
        } else {
            if (!open.operand) {
                conditionFault("AND or OR is missing before " + shown(token.text));
                continue;
            }
            const bool call = pos + 1 < count && isPunct(m_tokens[pos + 1].text, '(');
            pos = call ? conditionCall(pos) : comparison(pos);
            if (m_condition) {
                m_condition->operand = false;
            }
        }
        if (m_condition && m_condition->depth == 0) {
            m_condition.reset();
        }
    }
    return pos;
}

std::size_t LanguageCheck::conditionCall(std::size_t pos) {
    const Token& word = m_tokens[pos];
    std::size_t close = pos + 1;
    for (int depth = 0; close < m_tokens.size(); ++close) {
        const std::string_view text = m_tokens[close].text;
        depth += isPunct(text, '(') ? 1 : (isPunct(text, ')') ? -1 : 0);
        if (depth == 0) {
            break;
        }
    }
    if (close == m_tokens.size()) {
        conditionFault("the arguments of " + shown(word.text) + " do not close on this line",
                       LanguageRule::Arguments);
        return pos + 1;
    }
    const std::span<const StatementForm* const> forms = Forms_of(word.text);
    if (forms.empty()) {
        conditionFault("unknown condition " + shown(word.text), LanguageRule::UnknownStatement);
        return close + 1;
    }
    if (forms.front()->role != StatementRole::Condition) {
        conditionFault(shown(word.text) + " is a statement, not a condition");
        return close + 1;
    }
    spelling(word.text, forms.front()->word);
    if (!forms.front()->checked) {
        report(LanguageRule::NotChecked,
               "not checked: " + std::string(forms.front()->word) + " is known by name only (" +
                   std::string(forms.front()->note) + ")",
               false);
        return close + 1;
    }
    const std::span<const Token> call(m_tokens.data() + pos + 1, close - pos);
    std::size_t failPos = 0;
    std::string_view failItem;
    for (const StatementForm* form : forms) {
        Matcher matcher(call);
        std::size_t end = 0;
        if (matcher.fit(itemsOf(*form), 0, end) && end == call.size()) {
            apply(matcher.references);
            return close + 1;
        }
        if (matcher.failPos >= failPos) {
            failPos = matcher.failPos;
            failItem = matcher.failItem;
        }
    }
    Fault fault = faultOf<Token>(forms, call, failPos, failItem);
    report(fault.rule, std::move(fault.reason));
    return close + 1;
}

// counter = < > <= >= a whole number or a counter.
std::size_t LanguageCheck::comparison(std::size_t pos) {
    const std::size_t count = m_tokens.size();
    const Token& left = m_tokens[pos];
    const std::span<const StatementForm* const> forms = Forms_of(left.text);
    if (!forms.empty()) {
        if (forms.front()->role == StatementRole::Condition && !forms.front()->checked) {
            spelling(left.text, forms.front()->word);
            report(LanguageRule::NotChecked,
                   "not checked: " + std::string(forms.front()->word) + " is known by name only (" +
                       std::string(forms.front()->note) + ")",
                   false);
            return pos + 1;
        }
        if (forms.front()->role == StatementRole::Condition &&
            itemsOf(*forms.front()).front().text == "[") {
            spelling(left.text, forms.front()->word);
            return pos + 1;
        }
        conditionFault(shown(left.text) + (forms.front()->role == StatementRole::Condition
                                               ? " needs its arguments in parentheses"
                                               : " is a statement, not a condition"));
        return pos + 1;
    }
    std::size_t at = pos + 1;
    const bool less = at < count && isPunct(m_tokens[at].text, '<');
    const bool more = at < count && isPunct(m_tokens[at].text, '>');
    if (!(less || more || (at < count && isPunct(m_tokens[at].text, '=')))) {
        conditionFault(shown(left.text) + " is no condition");
        return pos + 1;
    }
    ++at;
    if ((less || more) && at < count && isPunct(m_tokens[at].text, '=')) {
        ++at;
    }
    if (at < count && isPunct(m_tokens[at].text, '-')) {
        ++at;
    }
    if (at < count && m_tokens[at].type == Token::Type::Float) {
        conditionFault(shown(m_tokens[at].text) +
                           " has a decimal point; counters hold whole numbers",
                       LanguageRule::Number);
        return at + 1;
    }
    if (at >= count ||
        (m_tokens[at].type != Token::Type::Int && m_tokens[at].type != Token::Type::Name)) {
        conditionFault("a comparison needs a whole number or a counter after its sign");
        return at;
    }
    use(left.text, bit(NameKind::Counter));
    if (m_tokens[at].type == Token::Type::Name) {
        use(m_tokens[at].text, bit(NameKind::Counter));
    }
    return at + 1;
}

void LanguageCheck::apply(const std::vector<Reference>& references) {
    for (const Reference& reference : references) {
        switch (reference.type) {
        case Reference::Type::Use:
            use(reference.text, reference.wanted);
            break;
        case Reference::Type::Declare:
            for (int kind = 0; kind < static_cast<int>(NameKind::None); ++kind) {
                if (reference.wanted == (std::uint32_t{1} << kind)) {
                    declare(reference.text, static_cast<NameKind>(kind));
                }
            }
            break;
        case Reference::Type::UseSubroutine:
            useSubroutine(reference.text);
            break;
        case Reference::Type::DeclareSubroutine:
            declareSubroutine(reference.text, false);
            break;
        case Reference::Type::Word:
            spelling(reference.text, reference.documented);
            break;
        }
    }
}

void LanguageCheck::use(std::string_view name, std::uint32_t wanted) {
    std::string key = asciiUpperCopy(name);
    if (const auto found = m_names.find(key); found != m_names.end()) {
        nameSpelling(name, found->second);
        if ((wanted & bit(found->second.kind)) == 0) {
            report(LanguageRule::WrongKind,
                   shown(name) + " is " + withArticle(Name_kind_word(found->second.kind)) +
                       " (line " + std::to_string(found->second.line) + "); " +
                       withArticle(wantedWords(wanted)) + " belongs here");
        }
        return;
    }
    // The first use of each kind is enough to judge; there are few kinds.
    const auto pending = m_pending.find(key);
    if (pending == m_pending.end()) {
        m_pending.emplace(std::move(key), Pending{std::string(name), {here(), wanted, excerpt()}});
    } else if (pending->second.first.wanted != wanted &&
               std::none_of(pending->second.otherKinds.begin(), pending->second.otherKinds.end(),
                            [wanted](const Use& other) { return other.wanted == wanted; })) {
        pending->second.otherKinds.push_back({here(), wanted, excerpt()});
    }
}

void LanguageCheck::declare(std::string_view name, NameKind kind) {
    std::string key = asciiUpperCopy(name);
    if (const auto found = m_names.find(key); found != m_names.end()) {
        if (found->second.spelling != name) {
            report(LanguageRule::NotChecked,
                   "not checked: " + shown(name) + " and " + shown(found->second.spelling) +
                       " (line " + std::to_string(found->second.line) +
                       ") differ in letter case only; whether that tells names apart is not "
                       "documented",
                   false);
        } else {
            report(LanguageRule::DeclaredTwice, shown(name) + " is declared twice (first on line " +
                                                    std::to_string(found->second.line) + ")");
        }
        return;
    }
    if (const auto used = m_pending.find(key); used != m_pending.end()) {
        report(used->second.first.at, LanguageRule::DeclaredLater,
               shown(used->second.spelling) + " is used before its declaration on line " +
                   std::to_string(m_line),
               std::move(used->second.first.excerpt));
        m_pending.erase(used);
    }
    m_names.emplace(std::move(key), Declared{kind, m_line, std::string(name), true});
}

void LanguageCheck::useSubroutine(std::string_view name) {
    std::string key = asciiUpperCopy(name);
    if (const auto found = m_subroutines.find(key); found != m_subroutines.end()) {
        nameSpelling(name, found->second);
        return;
    }
    if (!m_pendingSubroutines.contains(key)) {
        m_pendingSubroutines.emplace(std::move(key),
                                     Pending{std::string(name), {here(), 0, excerpt()}});
    }
}

void LanguageCheck::declareSubroutine(std::string_view name, bool label) {
    std::string key = asciiUpperCopy(name);
    if (const auto found = m_subroutines.find(key); found != m_subroutines.end()) {
        if (label && !found->second.defined) {
            found->second.defined = true;
            nameSpelling(name, found->second);
        } else {
            report(LanguageRule::DeclaredTwice, "subroutine " + shown(name) +
                                                    " is declared twice (first on line " +
                                                    std::to_string(found->second.line) + ")");
        }
        return;
    }
    if (const auto used = m_pendingSubroutines.find(key); used != m_pendingSubroutines.end()) {
        report(used->second.first.at, LanguageRule::DeclaredLater,
               shown(used->second.spelling) + ": is used before line " + std::to_string(m_line) +
                   " begins it; FORWARD " + shown(used->second.spelling) +
                   ": before the use announces it",
               std::move(used->second.first.excerpt));
        m_pendingSubroutines.erase(used);
    }
    m_subroutines.emplace(std::move(key),
                          Declared{NameKind::Subroutine, m_line, std::string(name), label});
}

void LanguageCheck::spelling(std::string_view written, std::string_view documented) {
    if (isUpperCase(written) || !m_spellingsNoted.insert("w" + std::string(written)).second) {
        return;
    }
    const std::string capitals = asciiUpperCopy(written);
    report(LanguageRule::NotChecked,
           "not checked: " + shown(written) + " is documented as " +
               shown(documented.empty() ? std::string_view(capitals) : documented) +
               "; whether letter case matters is not documented",
           false);
}

void LanguageCheck::nameSpelling(std::string_view written, const Declared& declared) {
    if (written == declared.spelling ||
        !m_spellingsNoted.insert("n" + std::string(written)).second) {
        return;
    }
    report(LanguageRule::NotChecked,
           "not checked: " + shown(written) + " is declared as " + shown(declared.spelling) +
               " (line " + std::to_string(declared.line) +
               "); whether letter case tells names apart is not documented",
           false);
}

bool LanguageCheck::isDeclared(const std::string& upperCasedName) const {
    return m_names.contains(upperCasedName) || m_subroutines.contains(upperCasedName);
}

void LanguageCheck::finish() {
    if (m_condition) {
        report(m_condition->at, LanguageRule::Condition,
               "the condition of " + std::string(m_condition->word) + " does not close",
               std::string(m_condition->word));
        m_condition.reset();
    }
    if (m_inComment) {
        report(m_commentStart, LanguageRule::Comment, "the comment begun with /* does not close",
               "/*");
        m_inComment = false;
    }
    // GTA2's own level scripts go on after LEVELEND with triggers and subroutines: what opens
    // there must close there too.
    closeAll("the end of the script");
    if (m_part != Part::Ended) {
        const std::string_view end = m_role == ScriptRole::Level     ? "LEVELEND"
                                     : m_role == ScriptRole::Mission ? "MISSIONEND"
                                                                     : "LEVELEND or MISSIONEND";
        report({std::max(m_line, 1), m_origin}, LanguageRule::ScriptEnd,
               "the script ends without " + std::string(end), {});
        m_part = Part::Ended;
    }
    m_forwards.clear();
    if (m_role != ScriptRole::Mission) {
        settle({});
    }
}

void LanguageCheck::settle(std::span<const LanguageCheck* const> levels) {
    const auto sorted = [](std::unordered_map<std::string, Pending>& pending) {
        std::vector<std::pair<std::string, Pending>> uses(std::make_move_iterator(pending.begin()),
                                                          std::make_move_iterator(pending.end()));
        pending.clear();
        std::sort(uses.begin(), uses.end(), [](const auto& a, const auto& b) {
            return std::tie(a.second.first.at.line, a.first) <
                   std::tie(b.second.first.at.line, b.first);
        });
        return uses;
    };
    for (auto& [key, pending] : sorted(m_pending)) {
        const Declared* found = nullptr;
        for (const LanguageCheck* level : levels) {
            if (const auto each = level->m_names.find(key); each != level->m_names.end()) {
                found = &each->second;
                break;
            }
        }
        if (found == nullptr) {
            if (m_listedElsewhere == nullptr || !m_listedElsewhere(pending.spelling)) {
                report(pending.first.at, LanguageRule::Undeclared,
                       shown(pending.spelling) + " is not declared",
                       std::move(pending.first.excerpt));
            }
            continue;
        }
        pending.otherKinds.insert(pending.otherKinds.begin(), std::move(pending.first));
        for (Use& use : pending.otherKinds) {
            if ((use.wanted & bit(found->kind)) == 0) {
                report(use.at, LanguageRule::WrongKind,
                       shown(pending.spelling) + " is " + withArticle(Name_kind_word(found->kind)) +
                           " of a level script; " + withArticle(wantedWords(use.wanted)) +
                           " belongs here",
                       std::move(use.excerpt));
            }
        }
    }
    for (auto& [key, pending] : sorted(m_pendingSubroutines)) {
        const std::string& name = key; // a lambda may not capture a structured binding in C++20
        const bool known = std::any_of(levels.begin(), levels.end(), [&](const LanguageCheck* l) {
            return l->m_subroutines.contains(name);
        });
        if (!known) {
            report(pending.first.at, LanguageRule::Undeclared,
                   "subroutine " + shown(pending.spelling) + ": is not declared",
                   std::move(pending.first.excerpt));
        }
    }
}

ScriptRead Read_script_lines(const std::filesystem::path& path,
                             const std::function<void(std::string_view)>& line,
                             const std::function<bool()>& stop, platform::IoError& error) {
    auto reader = platform::LineReader::open(path, kMaxLineLength, error);
    if (!reader) {
        return ScriptRead::Failed;
    }
    std::string text;
    for (;;) {
        if (stop && stop()) {
            return ScriptRead::Stopped;
        }
        switch (reader->readLine(text)) {
        case platform::LineReader::Result::Line:
            line(text);
            continue;
        case platform::LineReader::Result::End:
            if (reader->dataAfterCtrlZ()) {
                line("\x1a");
            }
            return ScriptRead::Read;
        case platform::LineReader::Result::TooLong:
            error = {platform::IoErrorKind::Other,
                     platform::textFromPath(path) + " has a line longer than " +
                         std::to_string(kMaxLineLength) + " characters"};
            return ScriptRead::Failed;
        case platform::LineReader::Result::Failed:
            error = *reader->failure();
            return ScriptRead::Failed;
        }
    }
}

} // namespace brennic::report
