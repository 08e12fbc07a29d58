// One form on screen; see qt_window.h. Qt never changes a control's value by itself:
// every key and click goes to the model, and the widgets are then redrawn from it.
#include "qt_window.h"

#include "qt_front_end.h"
#include "qt_printer.h"

#include "platform/program.h"
#include "platform/text.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace vantreth::gui {

using platform::ControlKind;

namespace {

QString ToQt(const std::string& text) {
    return QString::fromStdString(platform::Cp1252ToUtf8(text));
}

// Line breaks as Qt shows them.
QString ToQtLines(const std::string& text) {
    return ToQt(text).remove(QLatin1Char('\r'));
}

// A label's caption: "&" marks an access key and is not shown, "&&" shows one "&".
QString LabelText(const std::string& caption) {
    QString out;
    const QString text = ToQtLines(caption);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

Qt::Alignment Horizontal(platform::Align align) {
    switch (align) {
    case platform::Align::Right:
        return Qt::AlignRight;
    case platform::Align::Center:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

// The character code of a key as the forms see it, or -1 for keys that type nothing.
int KeyCode(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return platform::vbKeyBack;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return platform::vbKeyReturn;
    case Qt::Key_Escape:
        return platform::vbKeyEscape;
    default:
        break;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return -1;
    const std::string text = platform::Utf8ToCp1252(event.text().toStdString());
    if (text.size() != 1)
        return -1;
    const auto code = static_cast<unsigned char>(text[0]);
    return code < 32 || code == 127 ? -1 : code;
}

// Opens the list only after the form's DropDown handler has filled it.
class DropDownCombo final : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> before_popup;

    void showPopup() override {
        if (before_popup)
            before_popup();
        if (isVisible() && isEnabled())
            QComboBox::showPopup();
    }
};

// A check box that flips wherever it is clicked, not only on its box and caption.
class WholeCheckBox final : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

template <class C> C& As(platform::Control& control) {
    return static_cast<C&>(control);
}

// A window that belongs to another: the window system keeps it above its owner. It keeps
// the title bar buttons of every other window.
constexpr Qt::WindowFlags kOwnedWindow = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;

// The room the screen under `where` leaves for windows.
QRect AvailableAt(const QPoint& where, const QWidget& window) {
    QScreen* screen = QGuiApplication::screenAt(where);
    if (screen == nullptr)
        screen = window.screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

QPoint MovedOntoScreen(const QRect& frame, const QRect& screen) {
    if (!screen.isValid())
        return frame.topLeft();
    const int x = std::max(screen.left(), std::min(frame.left(), screen.right() + 1 - frame.width()));
    const int y = std::max(screen.top(), std::min(frame.top(), screen.bottom() + 1 - frame.height()));
    return {x, y};
}

QtWindow::QtWindow(platform::Form& form, QtFrontEnd& frontEnd) : m_form(form), m_frontEnd(frontEnd) {
    setObjectName(QString::fromStdString(form.Name()));
    m_items.reserve(form.Controls().size());
    for (platform::Control* control : form.Controls())
        Create(*control);

    // Tab order is the order of the controls, frames or not.
    QWidget* previous = nullptr;
    for (const Item& item : m_items) {
        if (item.widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, item.widget);
        previous = item.widget;
    }

    // The form's size, grown where a control would be cut off.
    int width = form.At().w, height = form.At().h;
    for (const Item& item : m_items) {
        if (item.control->frame())
            continue;
        const platform::Rect& at = item.control->design().at;
        width = std::max(width, at.x + at.w + 8);
        height = std::max(height, at.y + at.h + 8);
    }
    resize(width, height);
    // Placed before the window system knows the window (the window it belongs to may make it
    // known before it is shown): a place given then is where its frame goes.
    Place(QPoint(form.At().x, form.At().y));
    m_placedAt = form.At();
}

QWidget* QtWindow::Create(platform::Control& control) {
    if (auto found = m_byControl.find(&control); found != m_byControl.end())
        return m_items[found->second].widget;
    if (control.Kind() == ControlKind::Timer)
        return nullptr;

    QWidget* parent = this;
    if (platform::Frame* frame = control.frame())
        if (QWidget* frameWidget = Create(*frame))
            parent = frameWidget;

    const size_t index = m_items.size();
    const QFont font = FontOf(control);
    QWidget* widget = NewWidget(control, parent, font, index);
    if (widget == nullptr)
        return nullptr;

    const platform::Rect& at = control.design().at;
    widget->setObjectName(QString::fromStdString(control.Name()));
    widget->setFont(font);
    widget->setGeometry(at.x, at.y, at.w, at.h);
    m_items.push_back({&control, widget, {}});
    m_byControl[&control] = index;
    Watch(widget, index);
    return widget;
}

QFont QtWindow::FontOf(const platform::Control& control) const {
    const platform::Design& design = control.design();
    QFont font = this->font();
    if ((control.Kind() == ControlKind::ListBox || control.Kind() == ControlKind::ComboBox) &&
        design.fixedFont)
        font = FixedPitchFont(this->font().pointSizeF());
    if (design.fontSize > 0)
        font.setPointSize(design.fontSize);
    if (design.bold)
        font.setBold(true);
    return font;
}

QWidget* QtWindow::NewWidget(platform::Control& control, QWidget* parent, const QFont& font, size_t index) {
    switch (control.Kind()) {
    case ControlKind::Label:
        return NewLabel(control, parent, font);
    case ControlKind::TextBox:
        return NewTextBox(control, parent, index);
    case ControlKind::CommandButton: {
        auto* button = new QPushButton(parent);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                [this, &control] { Act([&control] { As<platform::CommandButton>(control).UserClick(); }); });
        return button;
    }
    case ControlKind::ComboBox:
        return NewComboBox(control, parent, index);
    case ControlKind::ListBox:
        return NewListBox(control, parent);
    case ControlKind::CheckBox: {
        auto* box = new WholeCheckBox(parent);
        connect(box, &QCheckBox::clicked, this,
                [this, &control] { Act([&control] { As<platform::CheckBox>(control).UserClick(); }); });
        return box;
    }
    case ControlKind::Frame:
        return new QGroupBox(parent);
    case ControlKind::Timer:
        break;
    }
    return nullptr;
}

QWidget* QtWindow::NewLabel(const platform::Control& control, QWidget* parent, const QFont& font) {
    const platform::Design& design = control.design();
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    const bool wrap = design.at.h >= 2 * QFontMetrics(font).lineSpacing();
    label->setWordWrap(wrap);
    label->setAlignment(Horizontal(design.align) | (wrap ? Qt::AlignTop : Qt::AlignVCenter));
    return label;
}

QWidget* QtWindow::NewTextBox(const platform::Control& control, QWidget* parent, size_t index) {
    const platform::Design& design = control.design();
    QWidget* widget = nullptr;
    if (design.multiLine) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setTabChangesFocus(true);
        edit->setUndoRedoEnabled(false);
        edit->viewport()->setAcceptDrops(false);
        Watch(edit->viewport(), index);
        widget = edit;
    } else {
        auto* edit = new QLineEdit(parent);
        edit->setAlignment(Horizontal(design.align));
        edit->setDragEnabled(false);
        widget = edit;
    }
    widget->setContextMenuPolicy(Qt::NoContextMenu);
    widget->setAcceptDrops(false);
    return widget;
}

QWidget* QtWindow::NewComboBox(platform::Control& control, QWidget* parent, size_t index) {
    auto* combo = new DropDownCombo(parent);
    combo->setEditable(!control.design().listOnly);
    combo->setInsertPolicy(QComboBox::NoInsert);
    if (QLineEdit* edit = combo->lineEdit()) {
        combo->setCompleter(nullptr);
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        edit->setDragEnabled(false);
        edit->setAcceptDrops(false);
        Watch(edit, index);
    }
    combo->before_popup = [this, &control] {
        Act([&control] { As<platform::ComboBox>(control).UserDropDown(); });
    };
    connect(combo, &QComboBox::activated, this, [this, &control](int row) {
        Act([&control, row] { As<platform::ComboBox>(control).UserPickIndex(row); });
    });
    return combo;
}

QWidget* QtWindow::NewListBox(platform::Control& control, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    connect(list, &QListWidget::itemClicked, this, [this, list, &control](QListWidgetItem* item) {
        const int row = list->row(item);
        Act([&control, row] { As<platform::ListBox>(control).UserClick(row); });
    });
    connect(list, &QListWidget::itemDoubleClicked, this, [this, list, &control](QListWidgetItem* item) {
        const int row = list->row(item);
        Act([&control, row] { As<platform::ListBox>(control).UserDblClick(row); });
    });
    return list;
}

void QtWindow::Watch(QObject* object, size_t item) {
    m_watched[object] = item;
    object->installEventFilter(this);
}

platform::Control* QtWindow::ControlOf(const QWidget* widget) const {
    for (const QObject* object = widget; object && object != this; object = object->parent()) {
        auto found = m_watched.find(object);
        if (found != m_watched.end())
            return m_items[found->second].control;
    }
    return nullptr;
}

QWidget* QtWindow::WidgetOf(const platform::Control* control) const {
    auto found = m_byControl.find(control);
    return found == m_byControl.end() ? nullptr : m_items[found->second].widget;
}

void QtWindow::Refresh() {
    m_frontEnd.Refresh();
}

void QtWindow::Act(const std::function<void()>& action) {
    m_frontEnd.ClerkActsIn(m_form);
    action();
    Refresh();
}

// ---------------------------------------------------------------------------
// Model -> view

void QtWindow::Sync() {
    if (UpToDate())
        return;
    const bool all = m_stale;
    m_stale = false;
    for (Item& item : m_items) {
        const unsigned long version = item.control->Version();
        if (!all && version == item.version)
            continue;
        SyncItem(item);
        item.version = version;
    }
    SyncWindow();
    m_syncedCaption = m_form.Caption();
    FocusActiveControl();
    m_syncedActive = m_form.ActiveControl();
}

bool QtWindow::TakesKeys() const {
    return std::any_of(m_items.begin(), m_items.end(), [](const Item& item) {
        return item.control->TakesFocus() && item.control->Usable() && item.control->Visible();
    });
}

bool QtWindow::UpToDate() const {
    const platform::Rect& at = m_form.At();
    if (m_stale || !m_shown || m_form.Caption() != m_syncedCaption ||
        m_form.ActiveControl() != m_syncedActive || m_form.windowState() != m_appliedState ||
        m_form.ZOrderStamp() != m_raisedStamp || at.x != m_placedAt.x || at.y != m_placedAt.y)
        return false;
    return std::all_of(m_items.begin(), m_items.end(),
                       [](const Item& item) { return item.control->Version() == item.version; });
}

void QtWindow::SyncItem(Item& item) {
    const platform::Control& control = *item.control;
    QWidget* widget = item.widget;
    const QSignalBlocker blocker(widget);
    widget->setEnabled(control.Enabled());
    widget->setVisible(control.Visible());
    const QString tip = ToQt(control.ToolTipText());
    if (widget->toolTip() != tip)
        widget->setToolTip(tip);

    switch (control.Kind()) {
    case ControlKind::Label:
        static_cast<QLabel*>(widget)->setText(
            LabelText(static_cast<const platform::Label&>(control).Caption()));
        break;
    case ControlKind::TextBox:
        SyncTextBox(item);
        break;
    case ControlKind::CommandButton:
        static_cast<QPushButton*>(widget)->setText(
            ToQt(static_cast<const platform::CommandButton&>(control).Caption()));
        break;
    case ControlKind::CheckBox:
        SyncCheckBox(item);
        break;
    case ControlKind::Frame:
        static_cast<QGroupBox*>(widget)->setTitle(
            ToQt(static_cast<const platform::Frame&>(control).Caption()));
        break;
    case ControlKind::ComboBox:
        SyncComboBox(item);
        break;
    case ControlKind::ListBox:
        SyncListBox(item);
        break;
    case ControlKind::Timer:
        break;
    }
}

void QtWindow::SyncTextBox(Item& item) {
    const auto& box = static_cast<const platform::TextBox&>(*item.control);
    const QString text = ToQtLines(box.Text());
    if (auto* edit = qobject_cast<QLineEdit*>(item.widget)) {
        const bool textChanged = edit->text() != text;
        if (textChanged)
            edit->setText(text);
        if (textChanged || box.SelStart() != item.selStart || box.SelLength() != item.selLength)
            ShowSelection(item);
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(item.widget); area && area->toPlainText() != text) {
        area->setPlainText(text);
        area->moveCursor(QTextCursor::End);
    }
}

void QtWindow::SyncCheckBox(Item& item) {
    const auto& check = static_cast<const platform::CheckBox&>(*item.control);
    auto* box = static_cast<QCheckBox*>(item.widget);
    box->setText(ToQt(check.Caption()));
    box->setTristate(check.Value() == 2);
    box->setCheckState(check.Value() == 1   ? Qt::Checked
                       : check.Value() == 2 ? Qt::PartiallyChecked
                                            : Qt::Unchecked);
}

void QtWindow::SyncComboBox(Item& item) {
    const auto& model = static_cast<const platform::ComboBox&>(*item.control);
    auto* combo = static_cast<QComboBox*>(item.widget);
    if (item.items != model.Items()) {
        combo->clear();
        for (const std::string& line : model.Items())
            combo->addItem(ToQt(line));
        item.items = model.Items();
    }
    if (combo->currentIndex() != model.ListIndex())
        combo->setCurrentIndex(model.ListIndex());
    const QString text = ToQt(model.Text());
    if (combo->isEditable()) {
        const QSignalBlocker editBlocker(combo->lineEdit());
        if (combo->currentText() != text)
            combo->setEditText(text);
    } else {
        combo->setPlaceholderText(model.ListIndex() < 0 ? text : QString());
    }
}

void QtWindow::SyncListBox(Item& item) {
    const auto& model = static_cast<const platform::ListBox&>(*item.control);
    auto* list = static_cast<QListWidget*>(item.widget);
    if (item.items != model.Items()) {
        list->clear();
        for (const std::string& line : model.Items())
            list->addItem(ToQt(line));
        item.items = model.Items();
    }
    const int index = model.ListIndex();
    if (index < 0) {
        if (list->currentRow() >= 0 || !list->selectedItems().isEmpty()) {
            list->setCurrentRow(-1);
            list->clearSelection();
        }
    } else if (list->currentRow() != index || !list->item(index)->isSelected()) {
        list->setCurrentRow(index);
    }
}

void QtWindow::ShowSelection(Item& item) {
    auto* edit = qobject_cast<QLineEdit*>(item.widget);
    if (edit == nullptr || item.control->Kind() != ControlKind::TextBox)
        return;
    const auto& box = static_cast<const platform::TextBox&>(*item.control);
    const QSignalBlocker blocker(edit);
    if (box.SelLength() > 0)
        edit->setSelection(box.SelStart(), box.SelLength());
    else
        edit->setCursorPosition(box.SelStart());
    item.selStart = box.SelStart();
    item.selLength = box.SelLength();
}

void QtWindow::SyncWindow() {
    const QString title = ToQt(m_form.Caption());
    if (windowTitle() != title)
        setWindowTitle(title);
    const platform::Rect& at = m_form.At();
    if (at.x != m_placedAt.x || at.y != m_placedAt.y) {
        Place(QPoint(at.x, at.y));
        m_placedAt = at;
    }
    if (m_form.ZOrderStamp() != m_raisedStamp) {
        m_raisedStamp = m_form.ZOrderStamp();
        if (m_shown) {
            raise();
            activateWindow();
            m_frontEnd.CameToFront(m_form);
        }
    }
    const platform::WindowState state = m_form.windowState();
    if (m_shown && state == m_appliedState)
        return;
    if (state != m_appliedState)
        m_minimisedByClerk = false; // the program set the state
    switch (state) {
    case platform::WindowState::Maximized:
        showMaximized();
        break;
    case platform::WindowState::Minimized:
        showMinimized();
        break;
    case platform::WindowState::Normal:
        showNormal();
        break;
    }
    m_appliedState = state;
    m_shown = true;
    KeepFrameOnScreen();
}

void QtWindow::HideWindow() {
    if (!m_shown)
        return;
    hide();
    m_shown = false;
}

void QtWindow::SetOwner(QtWindow* owner) {
    if (owner == m_owner.data() && (owner != nullptr) == m_owned)
        return;
    HideWindow();
    setWindowFlags(owner ? kOwnedWindow : Qt::WindowFlags(Qt::Window));
    if (owner) {
        owner->winId();
        winId();
        windowHandle()->setTransientParent(owner->windowHandle());
    } else if (QWindow* handle = windowHandle()) {
        handle->setTransientParent(nullptr);
    }
    m_owner = owner;
    m_owned = owner != nullptr;
}

void QtWindow::Place(const QPoint& where) {
    // The window is placed by its frame; before the window system has framed it, the frame
    // is taken to be that of the last window framed.
    QMargins frame = m_shown && windowHandle() ? windowHandle()->frameMargins() : QMargins();
    m_checkFrame = frame.isNull();
    if (frame.isNull())
        frame = m_frontEnd.FrameMargins();
    const QRect outline(where, size().grownBy(frame));
    move(MovedOntoScreen(outline, AvailableAt(where, *this)));
}

void QtWindow::KeepFrameOnScreen() {
    if (!m_checkFrame || !isVisible() || windowHandle() == nullptr ||
        (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull())
        return; // not framed yet, or never (no window manager)
    m_checkFrame = false;
    m_frontEnd.SetFrameMargins(frame);
    const QRect outline = frameGeometry();
    const QPoint inside = MovedOntoScreen(outline, AvailableAt(outline.topLeft(), *this));
    if (inside != outline.topLeft())
        move(inside);
}

void QtWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    KeepFrameOnScreen();
}

void QtWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    KeepFrameOnScreen();
}

void QtWindow::FocusActiveControl() {
    const QWidget* current = focusWidget();
    QWidget* target = WidgetOf(m_form.ActiveControl());
    if (target == nullptr || !target->isVisible() || !target->isEnabled()) {
        // The focused control was disabled or hidden: the model follows where Qt moved the focus.
        if (platform::Control* control = current ? ControlOf(current) : nullptr)
            control->SetFocus();
        return;
    }
    if (current == target || (current && target->isAncestorOf(current)))
        return;
    // The program moved the focus (the Enter walk, a refusal putting it back on a box): as
    // after a Tab, the control shows the focus ring, so the clerk sees where the next key goes.
    setAttribute(Qt::WA_KeyboardFocusChange);
    target->setFocus(Qt::TabFocusReason);
}

// ---------------------------------------------------------------------------
// View -> model

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    auto found = m_watched.find(watched);
    if (found == m_watched.end())
        return QWidget::eventFilter(watched, event);
    Item& item = m_items[found->second];
    switch (event->type()) {
    case QEvent::KeyPress:
        return Key(item, static_cast<QKeyEvent&>(*event));
    case QEvent::KeyRelease: {
        // A button or check box acts on the release of the space bar; the press went to the form.
        const auto kind = item.control->Kind();
        return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
               (kind == ControlKind::CommandButton || kind == ControlKind::CheckBox);
    }
    case QEvent::InputMethod: {
        const auto kind = item.control->Kind();
        if (kind != ControlKind::TextBox && kind != ControlKind::ComboBox)
            return false;
        // Composed characters are typed one by one like any other key.
        const std::string text =
            platform::Utf8ToCp1252(static_cast<QInputMethodEvent*>(event)->commitString().toStdString());
        platform::Control& control = *item.control;
        Act([&control, &text, kind] {
            for (unsigned char c : text) {
                if (kind == ControlKind::TextBox)
                    As<platform::TextBox>(control).UserType(c);
                else
                    As<platform::ComboBox>(control).UserType(c);
            }
        });
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return Mouse(item, *event);
    case QEvent::FocusIn: {
        // Qt selects a line's whole text when Tab brings the focus; the model says what is
        // selected (a text the program filled in), once Qt is done with the focus.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::MouseFocusReason && qobject_cast<QLineEdit*>(item.widget)) {
            const size_t index = found->second;
            QTimer::singleShot(0, this, [this, index] { ShowSelection(m_items[index]); });
        }
        return QWidget::eventFilter(watched, event);
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

bool QtWindow::Key(Item& item, QKeyEvent& event) {
    m_frontEnd.ClerkActsIn(m_form);
    const int key = event.key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return false; // Qt moves the focus
    const int code = KeyCode(event);
    platform::Control& control = *item.control;
    bool taken = true;
    switch (control.Kind()) {
    case ControlKind::TextBox:
        taken = KeyInTextBox(item, event, code);
        break;
    case ControlKind::ComboBox:
        if (code >= 0)
            As<platform::ComboBox>(control).UserType(code);
        else if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_F4 ||
                 event.matches(QKeySequence::Copy))
            taken = false; // Qt steps through the list (activated) or opens it (showPopup)
        break;
    case ControlKind::ListBox:
        taken = KeyInListBox(item, key, code);
        break;
    case ControlKind::CommandButton:
        if (code == platform::vbKeyReturn || code == platform::vbKeySpace) {
            m_form.UserKeyOn(control, code);
        } else if (code >= 0) {
            control.SetFocus();
            m_form.UserKey(code);
        } else {
            taken = false;
        }
        break;
    default:
        if (code < 0) {
            taken = false;
            break;
        }
        control.SetFocus();
        m_form.UserKey(code);
        break;
    }
    if (!taken)
        return false;
    Refresh();
    return true;
}

bool QtWindow::KeyInTextBox(Item& item, const QKeyEvent& event, int code) {
    const int key = event.key();
    if (code >= 0) {
        auto& box = As<platform::TextBox>(*item.control);
        if (auto* edit = qobject_cast<QLineEdit*>(item.widget)) {
            // The key goes in where the clerk put the caret, or over what is selected.
            if (edit->hasSelectedText())
                box.SetSelection(edit->selectionStart(), static_cast<int>(edit->selectedText().size()));
            else
                box.SetSelection(edit->cursorPosition());
        }
        box.UserType(code);
        return true;
    }
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End)
        return false; // Qt moves the caret (and, with Shift, the selection)
    if (event.matches(QKeySequence::Copy) || event.matches(QKeySequence::SelectAll))
        return false;
    if (item.control->design().multiLine &&
        (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown))
        return false; // reading a long text; typing still goes to its end
    return true;
}

bool QtWindow::KeyInListBox(Item& item, int key, int code) {
    auto& list = As<platform::ListBox>(*item.control);
    if (code >= 0) {
        list.UserKey(code);
        return true;
    }
    const int count = list.ListCount();
    const int current = list.ListIndex();
    auto* view = static_cast<QListWidget*>(item.widget);
    const int page = std::max(1, view->viewport()->height() / std::max(1, view->sizeHintForRow(0)));
    int row = current;
    switch (key) {
    case Qt::Key_Up:
        row = current < 0 ? 0 : current - 1;
        break;
    case Qt::Key_Down:
        row = current + 1;
        break;
    case Qt::Key_PageUp:
        row = current - page;
        break;
    case Qt::Key_PageDown:
        row = current + page;
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = count - 1;
        break;
    default:
        return false;
    }
    row = std::clamp(row, 0, std::max(0, count - 1));
    if (count > 0 && row != current)
        list.UserClick(row);
    return true;
}

bool QtWindow::Mouse(Item& item, QEvent& event) {
    m_frontEnd.ClerkActsIn(m_form);
    const auto button = static_cast<QMouseEvent&>(event).button();
    platform::Control& control = *item.control;
    const bool press = event.type() == QEvent::MouseButtonPress;
    const bool dblClick = event.type() == QEvent::MouseButtonDblClick;
    switch (control.Kind()) {
    case ControlKind::Label:
    case ControlKind::Frame:
        if (button != Qt::LeftButton || !(press || dblClick))
            return false;
        if (control.Kind() == ControlKind::Label) {
            if (press)
                As<platform::Label>(control).UserClick();
            else
                As<platform::Label>(control).UserDblClick();
        } else {
            if (press)
                As<platform::Frame>(control).UserClick();
            else
                As<platform::Frame>(control).UserDblClick();
        }
        Refresh();
        return true;
    case ControlKind::TextBox:
    case ControlKind::ComboBox:
        if (button == Qt::MiddleButton)
            return true; // no pasting of the selection
        if (control.Kind() == ControlKind::TextBox && press && button == Qt::LeftButton) {
            As<platform::TextBox>(control).UserClick();
            Refresh();
        }
        return false; // Qt places the focus and the cursor
    default:
        return false;
    }
}

void QtWindow::keyPressEvent(QKeyEvent* event) {
    // A key while no control of the window holds the focus goes to the form.
    const int code = KeyCode(*event);
    if (code < 0)
        return QWidget::keyPressEvent(event);
    Act([this, code] { m_form.UserKey(code); });
}

void QtWindow::mousePressEvent(QMouseEvent* event) {
    // A click on the window itself, outside its controls.
    if (event->button() == Qt::LeftButton)
        Act([this] { m_form.UserClick(); });
    QWidget::mousePressEvent(event);
}

void QtWindow::closeEvent(QCloseEvent* event) {
    // The form decides whether it closes; an unload takes the window away.
    event->ignore();
    if (m_frontEnd.Refreshing())
        return;
    Act([this] { m_form.UserClose(); });
}

void QtWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // The keyboard stays where the clerk must answer: with the box that is up, or with
        // the window in front of an owner none of whose controls can take a key.
        QWidget* box = isVisible() ? QApplication::activeModalWidget() : nullptr;
        if (box != nullptr && box->window() != this) {
            box->activateWindow();
            return;
        }
        if (isVisible() && !TakesKeys()) {
            if (QtWindow* owned = m_frontEnd.FrontWindowOwnedBy(m_form)) {
                owned->raise();
                owned->activateWindow();
                return;
            }
        }
        m_frontEnd.CameToFront(m_form);
        KeepFrameOnScreen();
    }
    if (event->type() != QEvent::WindowStateChange || m_frontEnd.Refreshing() || !m_shown)
        return;
    // The clerk maximised, minimised or restored the window with its title bar.
    const Qt::WindowStates states = windowState();
    const platform::WindowState state = states & Qt::WindowMinimized   ? platform::WindowState::Minimized
                                        : states & Qt::WindowMaximized ? platform::WindowState::Maximized
                                                                       : platform::WindowState::Normal;
    m_form.SetWindowState(state);
    m_appliedState = state;
    m_minimisedByClerk = state == platform::WindowState::Minimized;
}

} // namespace vantreth::gui
