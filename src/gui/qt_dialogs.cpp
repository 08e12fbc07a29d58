// Message boxes and input boxes as Qt dialogs; see qt_dialogs.h.
#include "qt_dialogs.h"

#include "platform/text.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace vantreth::gui {

namespace {

QString ToQt(const std::string &text) {
    return QString::fromStdString(platform::Cp1252ToUtf8(text));
}

// A box without a title carries the program's name.
QString Title(const std::string &title) {
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

void QtDialogs::Note(const std::string &title, const std::string &prompt) {
    m_boxes.push_back(platform::Cp1252ToUtf8(title + ": " + prompt));
    std::printf("box: %s\n", m_boxes.back().c_str());
    std::fflush(stdout);
}

platform::MsgBoxResult QtDialogs::MsgBox(const std::string &prompt, int style, const std::string &title) {
    const int buttons = style & 0x7;
    if (m_unattended) {
        Note(title, prompt);
        return buttons == platform::vbYesNo ? platform::vbYes : platform::vbOK;
    }
    QMessageBox box(IconOf(style), Title(title), ToQt(prompt), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
    case platform::vbYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case platform::vbOKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return platform::vbYes;
    case QMessageBox::No:
        return platform::vbNo;
    case QMessageBox::Cancel:
        return platform::vbCancel;
    default:
        return buttons == platform::vbYesNo ? platform::vbNo : platform::vbOK;
    }
}

std::string QtDialogs::InputBox(const std::string &prompt, const std::string &title) {
    if (m_unattended) {
        Note(title, prompt);
        return std::string();
    }
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), Title(title), ToQt(prompt),
                                               QLineEdit::Normal, QString(), &ok);
    return ok ? platform::Utf8ToCp1252(text.toStdString()) : std::string();
}

} // namespace vantreth::gui
