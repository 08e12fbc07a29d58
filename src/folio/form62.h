// "Room Balances": every occupied room with what its stay owes, added up from the stay's
// ledger the way the folio window adds it.
#pragma once

#include "app/app.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantreth {

// Shown after the room when a stay's ledger file is not there.
inline constexpr std::string_view kMissingFolioText = "ERROR: Cannot find the guests folio information";

// One line per guest record with a last name, in file order: room, two blanks, Str(balance).
// A missing "tax" file counts as no tax.
std::vector<std::string> RoomBalanceLines(const platform::DataFolder& data);

class Form62 final : public AppForm {
public:
    static constexpr const char* kName = "Form62";
    explicit Form62(App& app);

    platform::ListBox List1{*this, "List1", {.at = {16, 16, 440, 280}, .fixedFont = true}};
    platform::CommandButton Command1{*this, "Command1", {.caption = "Exit", .at = {186, 310, 100, 32}}};

private:
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Command1_Click();
};

} // namespace vantreth
