#include "dialogs/CFormDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "config/CConfigForm.h"
#include "platform/UiServices.h"

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }
QString ObjectName(const std::string& key) { return Q("field_" + key); }
}  // namespace

CFormDialog::CFormDialog(CConfigForm& form, QWidget* parent) : QDialog(parent), m_form(form) {
    setWindowTitle(Q(form.Caption()));
}

QWidget* CFormDialog::FieldWidget(const std::string& key) {
    const auto found = m_widgets.find(key);
    if (found != m_widgets.end()) return found->second;
    const FormField* field = m_form.Field(key);
    if (field == nullptr) return nullptr;

    QWidget* widget = nullptr;
    if (field->kind == FieldKind::Choice) {
        auto* list = new QComboBox(this);
        for (const std::string& choice : field->choices) list->addItem(Q(choice));
        connect(list, QOverload<int>::of(&QComboBox::activated), this, [this, key](int index) {
            m_form.SetChoice(key, index);
            UpdateControls();
        });
        widget = list;
    } else if (field->kind == FieldKind::Value) {
        auto* value = new QLabel(this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        widget = value;
    } else if (field->multiline) {
        auto* edit = new QPlainTextEdit(this);
        edit->setTabChangesFocus(true);
        const int lineHeight = edit->fontMetrics().lineSpacing();
        edit->setFixedHeight(lineHeight * 3 + 12);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, key, edit]() {
            if (m_filling) return;
            const FormField* f = m_form.Field(key);
            QString text = edit->toPlainText();
            // The field refuses typing beyond its limit.
            if (f->maxLength > 0 && static_cast<size_t>(text.size()) > f->maxLength) {
                text.truncate(static_cast<int>(f->maxLength));
                m_filling = true;
                edit->setPlainText(text);
                edit->moveCursor(QTextCursor::End);
                m_filling = false;
            }
            m_form.SetText(key, text.toStdString());
            UpdateControls();
        });
        widget = edit;
    } else {
        auto* edit = new QLineEdit(this);
        if (field->maxLength > 0) edit->setMaxLength(static_cast<int>(field->maxLength));
        connect(edit, &QLineEdit::textEdited, this, [this, key](const QString& text) {
            m_form.SetText(key, text.toStdString());
            UpdateControls();
        });
        widget = edit;
    }
    widget->setObjectName(ObjectName(key));
    m_widgets[key] = widget;
    Fill(key);
    return widget;
}

QLabel* CFormDialog::FieldLabel(const std::string& key) {
    const FormField* field = m_form.Field(key);
    auto* label = new QLabel(Q(field != nullptr ? field->label : key), this);
    label->setBuddy(FieldWidget(key));
    return label;
}

void CFormDialog::AddFieldRow(QGridLayout* grid, int row, const std::string& key) {
    const FormField* field = m_form.Field(key);
    const bool tall = field != nullptr && field->multiline;
    grid->addWidget(FieldLabel(key), row, 0, tall ? Qt::AlignTop : Qt::Alignment());
    grid->addWidget(FieldWidget(key), row, 1);
    if (field != nullptr && !field->suffix.empty())
        grid->addWidget(new QLabel(Q(field->suffix), this), row, 2);
}

QHBoxLayout* CFormDialog::ButtonRow() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    return row;
}

QPushButton* CFormDialog::AddButton(QHBoxLayout* row, const char* text, const char* objectName) {
    auto* button = new QPushButton(Q(text), this);
    button->setObjectName(QString::fromLatin1(objectName));
    row->addWidget(button);
    return button;
}

void CFormDialog::Fill(const std::string& key) {
    const FormField* field = m_form.Field(key);
    QWidget* widget = m_widgets[key];
    if (field == nullptr || widget == nullptr) return;
    m_filling = true;
    if (auto* list = qobject_cast<QComboBox*>(widget)) {
        list->setCurrentIndex(field->selected);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(Q(field->text));
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
        text->setPlainText(Q(field->text));
    } else if (auto* value = qobject_cast<QLabel*>(widget)) {
        value->setText(Q(field->text));
    }
    widget->setEnabled(field->enabled);
    m_filling = false;
}

void CFormDialog::Refresh() {
    for (const auto& entry : m_widgets) Fill(entry.first);
    UpdateControls();
}

void CFormDialog::FocusField(const std::string& key) {
    QWidget* widget = FieldWidget(key);
    if (widget == nullptr) return;
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
    if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) text->selectAll();
}

void CFormDialog::Handle(const FormOutcome& outcome) {
    Refresh();
    if (outcome.message)
        Ui().MessageBox(outcome.message->text, MsgButtons::Ok, outcome.message->icon);
    switch (outcome.result) {
        case FormResult::Ok:
            done(QDialog::Accepted);
            return;
        case FormResult::Cancel:
            done(QDialog::Rejected);
            return;
        case FormResult::Abort:
            done(kAbortResult);
            return;
        case FormResult::StayOpen:
            if (!outcome.focus.empty()) FocusField(outcome.focus);
            return;
    }
}

bool CFormDialog::RunAction(const std::function<void()>& action) {
    if (m_acting) {
        Ui().Beep();
        return false;
    }
    m_acting = true;
    try {
        action();
    } catch (...) {
        m_acting = false;
        throw;
    }
    m_acting = false;
    return true;
}

void CFormDialog::OnOk() {
    RunAction([this] { Handle(m_form.Ok()); });
}

void CFormDialog::reject() {
    RunAction([this] { Handle(m_form.Cancel()); });
}
