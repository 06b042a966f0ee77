#include "report/ReportText.h"

namespace brennic::report {

std::string Block_text(const Block& block) {
    std::string text = block.script + "\r\n";
    for (const Item& item : block.items) {
        text += "  " + std::to_string(item.scriptLine) + ": ";
        if (item.gta1Line) {
            text += "GTA1 line " + *item.gta1Line + ": ";
        }
        text += item.reason + (item.statement.empty() ? ":" : ": " + item.statement) + "\r\n";
    }
    if (block.unlisted > 0) {
        text += "  and " + std::to_string(block.unlisted) +
                (block.unlisted == 1 ? " more item\r\n" : " more items\r\n");
    }
    for (const std::string& line : block.summary) {
        text += "  " + line + "\r\n";
    }
    if (block.items.empty() && block.unlisted == 0 && block.summary.empty()) {
        text += "  nothing left to do\r\n";
    }
    return text;
}

} // namespace brennic::report
