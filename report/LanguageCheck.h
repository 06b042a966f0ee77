#pragma once

#include "platform/IoError.h"
#include "report/ScriptLanguage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace brennic::report {

// Why a line is listed.
enum class LanguageRule : std::uint8_t {
    ControlByte,      // a control byte other than TAB, CR and LF outside comments
    Comment,          // a /* comment that never closes
    UnknownStatement, // no statement of the language begins so
    UnknownConstant,  // a word where a constant of a named set belongs
    Arguments,        // the arguments fit no form of the statement
    Number,           // a whole number where a decimal belongs, or the other way round
    Condition,        // a condition that is not one, or a statement used as one
    Block,            // a block that does not close, or closes the wrong one
    Placement,        // a statement where the language does not allow it
    Undeclared,       // a name nothing declares
    DeclaredLater,    // a name used before its declaration
    DeclaredTwice,
    WrongKind,  // a name of another kind than the statement needs
    ScriptEnd,  // the script ends without LEVELEND or MISSIONEND
    NotChecked, // the sources leave it open: said, but no fault of the script
};

// One line GTA2's compiler would reject, or (counted false) one the check cannot judge.
struct LanguageItem {
    int scriptLine = 0; // 1-based
    LanguageRule rule = LanguageRule::UnknownStatement;
    bool counted = true;
    std::string reason{};
    std::string excerpt{}; // the line's beginning, at most kExcerptBytes and "..." when cut
    std::string origin{};  // what the caller called the line (addLine)
};

// The beginning of a line as an item quotes it: at most kExcerptBytes, and "..." when cut.
inline constexpr std::size_t kExcerptBytes = 100;
std::string Line_excerpt(std::string_view line);

enum class ScriptRole : std::uint8_t {
    Unknown, // neither LEVELSTART nor MISSIONSTART (yet)
    Level,   // has LEVELSTART
    Mission, // has MISSIONSTART and no LEVELSTART: sees the level scripts' declarations
};

// Checks one script against GTA2's mission script language, fed one line at a time, in time and
// memory linear in the script: each item keeps a short excerpt, names are kept once each in hash
// tables, and of the items (every one counted) the first `maxItems` in line order are kept.
class LanguageCheck {
  public:
    static constexpr std::size_t kExcerptBytes = report::kExcerptBytes;
    // Names whose uses the caller lists itself where nothing declares them: they give no
    // Undeclared item here (a wrong kind still does).
    using NameTest = bool (*)(std::string_view name);

    explicit LanguageCheck(std::size_t maxItems = 1000,
                           NameTest undeclaredListedElsewhere = nullptr)
        : m_maxItems(maxItems), m_listedElsewhere(undeclaredListedElsewhere) {}

    // The script's next line, without its line end; origin: what the caller calls the line (the
    // GTA1 line that wrote it, say), handed back with every item about it.
    void addLine(std::string_view line, std::string_view origin = {});
    // The end of the script: what is still open is listed. A mission script's names declared
    // nowhere in it wait for settle().
    void finish();
    // A mission script's names, once, after finish(): against the declarations of the level
    // scripts given with it (Settle_script_set does this for a set of ScriptChecks).
    void settle(std::span<const LanguageCheck* const> levels);

    // A word, number or sign of a line as the compiler reads it (outside comments).
    struct Token {
        enum class Type : std::uint8_t { Name, Int, Float, Punct, Other };
        Type type = Type::Other;
        std::string_view text{};
    };
    // The tokens of the line added last, valid until the next line.
    std::span<const Token> tokens() const { return m_tokens; }
    // Whether the name (of a thing or a subroutine), given in capitals, is declared so far.
    bool isDeclared(const std::string& upperCasedName) const;

    ScriptRole role() const { return m_role; }
    // The kept items in line order.
    std::vector<LanguageItem> items() const;
    // Items that make the script fail, and "not checked" ones, kept or not; and those not kept.
    std::size_t countedItems() const { return m_counted; }
    std::size_t notCheckedItems() const { return m_notChecked; }
    std::size_t unlistedItems() const { return m_unlisted; }

  private:
    enum class Part : std::uint8_t { Declarations, Program, Ended };
    enum class Frame : std::uint8_t { If, While, Do };
    // A line the check may list later.
    struct Place {
        int line = 0;
        std::string origin{};
    };
    struct Open {
        Frame frame = Frame::If;
        Place at{};
        bool sawElse = false;
        std::string_view word{}; // the statement word as the table spells it
    };
    struct Declared {
        NameKind kind = NameKind::None;
        int line = 0;
        std::string spelling{};
        bool defined = true; // a subroutine announced by FORWARD has no label yet
    };
    struct Use {
        Place at{};
        std::uint32_t wanted = 0; // the kinds the use allows, one bit each
        std::string excerpt{};
    };
    // A name used before any declaration: its first use, and the first use of every other kind
    // asked for, to be judged against a level script's declaration.
    struct Pending {
        std::string spelling{};
        Use first{};
        std::vector<Use> otherKinds{};
    };
    // An item kept, with the order it came in.
    struct Kept {
        LanguageItem item{};
        std::size_t order = 0;
    };
    struct OpenCondition {
        Place at{};
        int depth = 0;
        bool operand = true; // what comes next: a condition (true) or AND, OR, ")"
        bool broken = false; // a fault was listed: only its parentheses are followed
        std::string_view word{};
    };
    struct Reference; // a name or word a matched statement refers to
    class Matcher;

    void prepare(std::string_view line);
    void tokenize();
    std::size_t statement(std::size_t pos);
    std::size_t declarationOrCommand(std::span<const StatementForm* const> forms, std::size_t pos);
    std::size_t creation(std::size_t pos);
    std::size_t block(std::string_view word, std::size_t pos);
    void part(std::string_view word);
    void openBlock(Frame frame, std::string_view word);
    void dropBlock();
    void close(Frame frame, std::string_view word);
    // Lists and ends every open block, then the open subroutine, at what `why` names.
    void closeAll(std::string_view why);
    std::size_t condition(std::size_t pos);
    bool continuesCondition() const;
    std::size_t conditionCall(std::size_t pos);
    std::size_t comparison(std::size_t pos);
    void conditionFault(std::string reason, LanguageRule rule = LanguageRule::Condition);
    void apply(const std::vector<Reference>& references);
    void use(std::string_view name, std::uint32_t wanted);
    void declare(std::string_view name, NameKind kind);
    void useSubroutine(std::string_view name);
    void declareSubroutine(std::string_view name, bool label);
    void spelling(std::string_view written, std::string_view documented);
    void nameSpelling(std::string_view written, const Declared& declared);
    void report(const Place& at, LanguageRule rule, std::string reason, std::string excerpt,
                bool counted = true);
    void report(LanguageRule rule, std::string reason, bool counted = true);
    Place here() const { return {m_line, m_origin}; }
    std::string excerpt() const;

    std::size_t m_maxItems;
    NameTest m_listedElsewhere;
    std::vector<Kept> m_items; // a heap: the kept item latest in line order on top
    std::size_t m_reported = 0;
    std::size_t m_counted = 0;
    std::size_t m_notChecked = 0;
    std::size_t m_unlisted = 0;

    int m_line = 0;
    std::string m_origin;    // of the line added last
    std::string_view m_text; // the line being added
    std::string m_code;      // that line, comments and control bytes blanked
    std::vector<Token> m_tokens;
    bool m_inComment = false;
    Place m_commentStart;

    Part m_part = Part::Declarations;
    ScriptRole m_role = ScriptRole::Unknown;
    int m_startLine = 0;
    std::vector<Open> m_blocks;
    // The blocks of m_blocks by frame: a closing word whose block is not open is told so without
    // a search through those that are.
    std::array<std::size_t, 3> m_openFrames{};
    std::optional<OpenCondition> m_condition;
    std::optional<int> m_subroutine; // the line of the open subroutine's label
    // FORWARD lines before the script shows whether it is a mission script, which may not have
    // them: their items wait for MISSIONSTART.
    std::vector<LanguageItem> m_forwards;
    std::size_t m_forwardsNotKept = 0;

    std::unordered_map<std::string, Declared> m_names;       // upper-cased
    std::unordered_map<std::string, Declared> m_subroutines; // upper-cased
    std::unordered_map<std::string, Pending> m_pending;      // used, not (yet) declared
    std::unordered_map<std::string, Pending> m_pendingSubroutines;
    std::unordered_set<std::string> m_spellingsNoted;
};

enum class ScriptRead : std::uint8_t { Read, Failed, Stopped };

// Hands each line of a script file, whatever its line ends, to `line`, asking `stop` before each
// (an empty `stop` never stops). Reading ends at a Ctrl-Z as in files saved by DOS editors; when
// text follows it, a last line of the Ctrl-Z alone is handed on, so that the checks list it. A
// file that cannot be read whole is Failed, with the error.
ScriptRead Read_script_lines(const std::filesystem::path& path,
                             const std::function<void(std::string_view)>& line,
                             const std::function<bool()>& stop, platform::IoError& error);

} // namespace brennic::report
