#pragma once

#include "platform/IoError.h"
#include "report/ScriptLanguage.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
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
};

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
    static constexpr std::size_t kExcerptBytes = 100;

    explicit LanguageCheck(std::size_t maxItems = 1000) : m_maxItems(maxItems) {}

    // The script's next line, without its line end.
    void addLine(std::string_view line);
    // The end of the script: what is still open is listed. A mission script's names declared
    // nowhere in it wait for Settle_script_set.
    void finish();

    ScriptRole role() const { return m_role; }
    // The kept items in line order.
    std::vector<LanguageItem> items() const;
    // Items that make the script fail, and "not checked" ones, kept or not; and those not kept.
    std::size_t countedItems() const { return m_counted; }
    std::size_t notCheckedItems() const { return m_notChecked; }
    std::size_t unlistedItems() const { return m_unlisted; }

  private:
    friend void Settle_script_set(std::span<LanguageCheck> scripts);

    enum class Part : std::uint8_t { Declarations, Program, Ended };
    enum class Frame : std::uint8_t { If, While, Do };
    struct Open {
        Frame frame = Frame::If;
        int line = 0;
        bool sawElse = false;
        std::string_view word{}; // the statement word as the table spells it
    };
    struct Token {
        enum class Type : std::uint8_t { Name, Int, Float, Punct, Other };
        Type type = Type::Other;
        std::string_view text{};
    };
    struct Declared {
        NameKind kind = NameKind::None;
        int line = 0;
        std::string spelling{};
        bool defined = true; // a subroutine announced by FORWARD has no label yet
    };
    struct Use {
        int line = 0;
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
        int line = 0;
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
    void close(Frame frame, std::string_view word);
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
    void settle(std::span<const LanguageCheck* const> levels);
    void report(int line, LanguageRule rule, std::string reason, std::string excerpt,
                bool counted = true);
    void report(LanguageRule rule, std::string reason, bool counted = true);
    std::string excerpt() const;

    std::size_t m_maxItems;
    std::vector<Kept> m_items; // a heap: the kept item latest in line order on top
    std::size_t m_reported = 0;
    std::size_t m_counted = 0;
    std::size_t m_notChecked = 0;
    std::size_t m_unlisted = 0;

    int m_line = 0;
    std::string_view m_text; // the line being added
    std::string m_code;      // that line, comments and control bytes blanked
    std::vector<Token> m_tokens;
    bool m_inComment = false;
    int m_commentLine = 0;

    Part m_part = Part::Declarations;
    ScriptRole m_role = ScriptRole::Unknown;
    int m_startLine = 0;
    std::vector<Open> m_blocks;
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

// Settles the names of a set of finished scripts: each mission script sees the declarations of
// every level script given with it, as the game runs them; its names declared nowhere are listed.
// A script checked alone is a set of one.
void Settle_script_set(std::span<LanguageCheck> scripts);

// Feeds a file's lines to the check and finishes it; false with the error when the file cannot be
// read whole. A Ctrl-Z with text behind it, where reading stops, is listed as a control byte.
bool Check_language_file(const std::filesystem::path& path, LanguageCheck& check,
                         platform::IoError& error);

} // namespace brennic::report
