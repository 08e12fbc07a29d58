#include "form54.h"

#include "checkin/form53.h"
#include "platform/text.h"

namespace vantreth {

Form54::Form54(App& app) : AppForm(app, kName, "Add Note", {120, 120, 480, 252}) {
    Command1.on_click = [this] { Command1_Click(); };
    Command2.on_click = [this] { Command2_Click(); };
}

void Form54::Form_Load() {
    Show();
    Text1.SetFocus();
}

void Form54::Command1_Click() {
    const std::string today = app().clock().DateText();
    records::AddNote(app().data(), today, MakeNote(Text1.Text(), today));

    Form53& posted = app().Get<Form53>();
    app().Load(posted);
    posted.List1.Clear();
    for (const std::string& line : PostedNoteLines(records::ReadAllNotes(app().data(), today), true))
        posted.List1.AddItem(line);
    app().Unload(*this);
}

void Form54::Command2_Click() {
    app().Unload(*this);
}

records::NoteRecord MakeNote(std::string_view text, std::string_view today) {
    records::NoteRecord note;
    note.NoteText = platform::Fixed(text, records::NoteRecord::kTextWidth);
    note.NoteDate = platform::Fixed(today, records::NoteRecord::kDateWidth);
    return note;
}

} // namespace vantreth
