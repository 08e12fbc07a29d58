// The guest boxes of the guest windows (check-in, Add Reservation, Edit Reservation, Edit
// Guest): the boxes' key rules and Enter walk, the boxes read into an entry and filled with
// a stored stay's texts (stay/guest_entry.h), a returning guest copied in from the history
// file, and where a refused entry sends the clerk. The windows with an Enter walk hand
// their boxes' keys to a GuestEntry.
#pragma once

#include "platform/controls.h"
#include "platform/text.h"
#include "records/history.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace vantreth {

// The key rules of the guest boxes:
//   Enter     Enter moves the focus to the next box of the window's walk; it is not typed.
//   State     as Enter; and once the box holds a character, the next key is typed and the
//             focus moves on by itself (a two-letter state).
//   Adults    as Enter; a digit from 1 to 6 replaces the box's text and moves on by itself;
//             every other key is ignored.
//   Children  as Enter; any other key is typed and the focus moves on by itself.
// A clerk used to ending every box with Enter types one after the box moved on by itself:
// an Enter typed in the box the focus has just moved to by itself, before any other key,
// does nothing, so the clerk does not land one box too far.
class GuestEntry {
public:
    enum class Rule { Enter, State, Adults, Children };

    // One step of the window's walk: the box, where Enter (or its own rule) leads, the rule.
    void Walk(platform::TextBox& box, platform::Control& next, Rule rule = Rule::Enter);
    // The steps every guest window walks alike: last name, first name, company, street,
    // city, state (on by itself), zip, phone; the reg. card to the adults (on by itself)
    // and the adults to the children (as typed: on by itself). Where the phone and the
    // children lead is the window's.
    template <class Window>
    void WalkGuestBoxes(Window& w, platform::Control& afterPhone, platform::Control& afterChildren) {
        Walk(w.Text9, w.Text10);
        Walk(w.Text10, w.Text11);
        Walk(w.Text11, w.Text12);
        Walk(w.Text12, w.Text13);
        Walk(w.Text13, w.Text14);
        Walk(w.Text14, w.Text15, Rule::State);
        Walk(w.Text15, w.Text16);
        Walk(w.Text17, w.Text18);
        Walk(w.Text18, w.Text19, Rule::Adults);
        Walk(w.Text16, afterPhone);
        Walk(w.Text19, afterChildren, Rule::Children);
    }
    // Enter in each box leads to the next one, and from the last box to `last`.
    void WalkInOrder(std::initializer_list<platform::TextBox*> boxes, platform::Control& last);

    // Boxes whose keys follow the walk's rules and nothing else: their key presses go to
    // KeyPress, with no handler of the window's in between.
    void TakeKeys(std::initializer_list<platform::TextBox*> boxes);

    // A key in a box of the walk, from the box's KeyPress handler. KeyAscii is 0 when the
    // key was used up. True when the key was Enter.
    bool KeyPress(platform::TextBox& box, int& KeyAscii);

    // Any key in the window (its key preview, or a box whose Enter the window walks
    // itself): true, and the key used up, when it is the Enter to ignore.
    bool IgnoresEnter(const platform::Control* focused, int& KeyAscii);

private:
    struct Step {
        platform::TextBox* box;
        platform::Control* next;
        Rule rule;
    };
    void MoveOn(platform::Control& next);

    std::vector<Step> m_walk;
    // The box the focus moved to by itself, until the next key.
    const platform::Control* m_movedOnTo = nullptr;
};

// The guest boxes of a window (names Text9 and Text10, company to phone Text11 to Text16,
// reg. card Text17, adults Text18, children Text19, comment Text20) into the fields of the
// same names of an entry.
template <class Entry, class Window> void TakeGuestBoxes(Entry& entry, const Window& w) {
    entry.lastName = w.Text9.Text();
    entry.firstName = w.Text10.Text();
    entry.company = w.Text11.Text();
    entry.street = w.Text12.Text();
    entry.city = w.Text13.Text();
    entry.state = w.Text14.Text();
    entry.zip = w.Text15.Text();
    entry.phone = w.Text16.Text();
    entry.regCard = w.Text17.Text();
    entry.adults = w.Text18.Text();
    entry.children = w.Text19.Text();
    entry.comment = w.Text20.Text();
}

// The edit windows of a stored stay (Edit Guest, Edit Reservation) show its guest boxes and
// the departure (Text5), pay code (Text1), account (Text2), card number (Text3) and expiry
// (Text4) and rate (Text6), in fields of the same names.

// The texts into the edit window's boxes, the guest's first.
template <class Window, class Boxes> void ShowStayBoxes(Window& w, const Boxes& b) {
    w.Text9.SetText(b.lastName);
    w.Text10.SetText(b.firstName);
    w.Text11.SetText(b.company);
    w.Text12.SetText(b.street);
    w.Text13.SetText(b.city);
    w.Text14.SetText(b.state);
    w.Text15.SetText(b.zip);
    w.Text16.SetText(b.phone);
    w.Text17.SetText(b.regCard);
    w.Text18.SetText(b.adults);
    w.Text19.SetText(b.children);
    w.Text20.SetText(b.comment);
    w.Text5.SetText(b.departure);
    w.Text1.SetText(b.payCode);
    w.Text2.SetText(b.dbNumber);
    w.Text3.SetText(b.cardNumber);
    w.Text4.SetText(b.cardExpiry);
    w.Text6.SetText(b.rate);
}

// The edit window's boxes as the clerk left them.
template <class Boxes, class Window> void TakeStayBoxes(Boxes& b, const Window& w) {
    TakeGuestBoxes(b, w);
    b.departure = w.Text5.Text();
    b.payCode = w.Text1.Text();
    b.dbNumber = w.Text2.Text();
    b.cardNumber = w.Text3.Text();
    b.cardExpiry = w.Text4.Text();
    b.rate = w.Text6.Text();
}

// One row of a window's table of where a refused entry sends the clerk: the box to correct
// gets the focus, first given a text where the row has one (a list the text that asks for a
// choice, "select room"; a box "" to be typed again). A problem with no box leaves the focus
// where it is.
template <class Problem> struct RefusedBox {
    RefusedBox(Problem problem) : problem(problem) {}
    RefusedBox(Problem problem, platform::Control& box) : problem(problem), box(&box) {}
    template <class Box>
    RefusedBox(Problem problem, Box& box, const char* text)
        : problem(problem), box(&box), setText([&box, text] { box.SetText(text); }) {}

    Problem problem;
    platform::Control* box = nullptr;
    std::function<void()> setText;
};

// Sends the clerk to the box of the problem's row in the window's table.
template <class Problem>
void FocusRefusedBox(Problem problem, std::initializer_list<RefusedBox<Problem>> table) {
    for (const RefusedBox<Problem>& row : table) {
        if (row.problem != problem)
            continue;
        if (row.setText)
            row.setText();
        if (row.box != nullptr)
            row.box->SetFocus();
        return;
    }
}

// The boxes the check-in and Add Reservation windows start with alike: the payment list
// (Combo2), the optional rates (Combo3), one adult (Text18) and no account chosen (Combo5).
template <class Window>
void StartStayBoxes(Window& w, const std::vector<std::string>& payments,
                    const std::vector<std::string>& rates) {
    for (const std::string& payment : payments)
        w.Combo2.AddItem(payment);
    for (const std::string& rate : rates)
        w.Combo3.AddItem(rate);
    w.Text18.SetText("1");
    w.Combo5.SetText("");
}

// A returning guest picked in the history window, into a window's guest boxes (names,
// company, street, city, state, zip, phone) and the clerk box. Each write runs the box's
// change handler at once, as the windows expect (the names switch the main button).
template <class Window>
void ShowHistoryGuest(Window& window, const records::HistoryEntry& entry, const std::string& clerk) {
    window.Text9.SetText(platform::RTrim(entry.LastName));
    window.Text10.SetText(platform::RTrim(entry.FirstName));
    window.Text11.SetText(platform::RTrim(entry.Company));
    window.Text12.SetText(platform::RTrim(entry.Street));
    window.Text13.SetText(platform::RTrim(entry.City));
    window.Text14.SetText(platform::RTrim(entry.State));
    window.Text15.SetText(platform::RTrim(entry.Zip));
    window.Text16.SetText(platform::RTrim(entry.Phone));
    window.Text21.SetText(clerk);
}

} // namespace vantreth
