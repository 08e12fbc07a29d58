// Message boxes and input boxes as Qt dialogs; see qt_dialogs.h.
#include "qt_dialogs.h"

#include "platform/text.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <cstdio>

namespace vantreth::gui {

namespace {

QString ToQt(const std::string& text) {
    return QString::fromStdString(platform::Cp1252ToUtf8(text));
}

// A box without a title carries the program's name.
QString Title(const std::string& title) {
    return title.empty() ? QStringLiteral("Vantreth") : ToQt(title);
}

QMessageBox::Icon IconOf(int style) {
    switch (style & 0x70) {
    case platform::vbCritical:
        return QMessageBox::Critical;
    case platform::vbQuestion:
        return QMessageBox::Question;
    case platform::vbExclamation:
        return QMessageBox::Warning;
    case platform::vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

void QtDialogs::Note(const std::string& title, const std::string& prompt) {
    m_boxes.push_back(platform::Cp1252ToUtf8(title + ": " + prompt));
    std::printf("box: %s\n", m_boxes.back().c_str());
    std::fflush(stdout);
}

QWidget* QtDialogs::Owner() const {
    if (!m_open.empty())
        return m_open.back();
    return m_front ? m_front() : QApplication::activeWindow();
}

void QtDialogs::Exec(QDialog& box) {
    m_open.push_back(&box);
    box.exec();
    m_open.erase(std::remove(m_open.begin(), m_open.end(), &box), m_open.end());
}

platform::MsgBoxResult QtDialogs::MsgBox(const std::string& prompt, int style, const std::string& title) {
    const int buttons = style & 0x7;
    if (m_unattended) {
        Note(title, prompt);
        return buttons == platform::vbYesNo ? platform::vbYes : platform::vbOK;
    }
    // Made on the heap: a box whose window goes away while it is up goes with it.
    QPointer<QMessageBox> box =
        new QMessageBox(IconOf(style), Title(title), ToQt(prompt), QMessageBox::NoButton, Owner());
    box->setTextFormat(Qt::PlainText);
    switch (buttons) {
    case platform::vbYesNo:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        break;
    case platform::vbOKCancel:
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    default:
        box->setStandardButtons(QMessageBox::Ok);
        break;
    }
    Exec(*box);
    const QMessageBox::StandardButton answer =
        box ? box->standardButton(box->clickedButton()) : QMessageBox::NoButton;
    delete box.data();
    switch (answer) {
    case QMessageBox::Ok:
        return platform::vbOK;
    case QMessageBox::Yes:
        return platform::vbYes;
    case QMessageBox::No:
        return platform::vbNo;
    case QMessageBox::Cancel:
        return platform::vbCancel;
    default:
        return buttons == platform::vbYesNo      ? platform::vbNo
               : buttons == platform::vbOKCancel ? platform::vbCancel
                                                 : platform::vbOK;
    }
}

std::string QtDialogs::InputBox(const std::string& prompt, const std::string& title) {
    if (m_unattended) {
        Note(title, prompt);
        return std::string();
    }
    QPointer<QInputDialog> box = new QInputDialog(Owner());
    box->setWindowTitle(Title(title));
    box->setLabelText(ToQt(prompt));
    box->setInputMode(QInputDialog::TextInput);
    box->setTextEchoMode(QLineEdit::Normal);
    Exec(*box);
    const bool answered = box && box->result() == QDialog::Accepted;
    const QString text = answered ? box->textValue() : QString();
    delete box.data();
    return platform::Utf8ToCp1252(text.toStdString());
}

} // namespace vantreth::gui
