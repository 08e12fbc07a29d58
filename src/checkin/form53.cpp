#include "form53.h"

#include "checkin/form54.h"
#include "platform/text.h"

namespace vantreth {

// "Delete Selected" has no handler: it deletes nothing.
Form53::Form53(App& app) : AppForm(app, kName, "Posted Notes", {16, 16, 600, 372}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
}

void Form53::Form_Load() {
    Show();
    const std::vector<records::NoteRecord> notes =
        records::ReadAllNotes(app().data(), app().clock().DateText());
    for (const std::string& line : PostedNoteLines(notes, false))
        List1.AddItem(line);
}

void Form53::Command1_Click() {
    app().Load(app().Get<Form54>());
}

void Form53::Command3_Click() {
    app().Unload(*this);
}

std::vector<std::string> PostedNoteLines(const std::vector<records::NoteRecord>& notes, bool keepPadding) {
    std::vector<std::string> lines;
    lines.reserve(notes.size() * 2);
    for (const records::NoteRecord& note : notes) {
        lines.push_back(note.NoteDate + "  " +
                        (keepPadding ? note.NoteText : platform::RTrim(note.NoteText)));
        lines.push_back(" ");
    }
    return lines;
}

} // namespace vantreth
