// The key rules and Enter walk of the guest boxes.
#include "app/guest_boxes.h"

#include <algorithm>

namespace vantreth {

using namespace platform;

void GuestEntry::Walk(TextBox& box, Control& next, Rule rule) {
    m_walk.push_back({&box, &next, rule});
}

void GuestEntry::WalkInOrder(std::initializer_list<TextBox*> boxes, Control& last) {
    for (auto box = boxes.begin(); box != boxes.end(); ++box)
        Walk(**box, box + 1 != boxes.end() ? static_cast<Control&>(**(box + 1)) : last);
}

void GuestEntry::TakeKeys(std::initializer_list<TextBox*> boxes) {
    for (TextBox* box : boxes)
        box->on_key_press = [this, box](int& KeyAscii) { KeyPress(*box, KeyAscii); };
}

void GuestEntry::MoveOn(Control& next) {
    next.SetFocus();
    m_movedOnTo = next.HasFocus() ? &next : nullptr;
}

bool GuestEntry::IgnoresEnter(const Control* focused, int& KeyAscii) {
    const bool ignore = KeyAscii == vbKeyReturn && focused != nullptr && focused == m_movedOnTo;
    m_movedOnTo = nullptr;
    if (ignore)
        KeyAscii = 0;
    return ignore;
}

bool GuestEntry::KeyPress(TextBox& box, int& KeyAscii) {
    if (IgnoresEnter(&box, KeyAscii))
        return true;
    const auto step =
        std::find_if(m_walk.begin(), m_walk.end(), [&](const Step& s) { return s.box == &box; });
    if (step == m_walk.end())
        return KeyAscii == vbKeyReturn;
    if (EnterMovesFocus(KeyAscii, *step->next))
        return true;
    switch (step->rule) {
    case Rule::Enter:
        break;
    case Rule::State:
        if (box.Text().empty())
            break;
        box.TypeIntoBox(KeyAscii);
        KeyAscii = 0;
        MoveOn(*step->next);
        break;
    case Rule::Adults: {
        const int key = KeyAscii;
        KeyAscii = 0;
        if (key < '1' || key > '6')
            break;
        box.SetText(std::string(1, static_cast<char>(key)));
        MoveOn(*step->next);
        break;
    }
    case Rule::Children:
        box.TypeIntoBox(KeyAscii);
        KeyAscii = 0;
        MoveOn(*step->next);
        break;
    }
    return false;
}

} // namespace vantreth
