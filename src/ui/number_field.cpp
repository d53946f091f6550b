#include "number_field.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "frontend.h"

namespace vellumar {

namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFixedSize(18, 12);
    return button;
}

} // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    btnUp = arrowButton(Qt::UpArrow, this);
    btnDown = arrowButton(Qt::DownArrow, this);
    connect(btnUp, &QToolButton::clicked, this, [this] { emit stepped(+1); });
    connect(btnDown, &QToolButton::clicked, this, [this] { emit stepped(-1); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(btnUp);
    layout->addWidget(btnDown);
}

NumberField::NumberField(std::string& setting, SteppedInteger stepping, QWidget* parent)
    : QWidget(parent), m_setting(setting), m_stepping(stepping) {
    edit = new QLineEdit(this);
    edit->setFixedWidth(56);
    tune = new UpDown(this);
    connect(edit, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_setting = text.toStdString(); });
    connect(tune, &UpDown::stepped, this, [this](int direction) {
        m_setting = stepIntegerText(m_stepping, m_setting, direction);
        showSetting();
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit);
    layout->addWidget(tune);
    layout->addStretch(1);
    showSetting();
}

NumberField::NumberField(std::string& setting, SteppedInteger stepping, CheckedInteger check,
                         Frontend& frontend, QWidget* parent)
    : NumberField(setting, stepping, parent) {
    m_check = check;
    m_frontend = &frontend;
    edit->installEventFilter(this);
}

void NumberField::showSetting() {
    edit->setText(QString::fromStdString(m_setting));
}

void NumberField::setEditable(bool editable) {
    edit->setEnabled(editable);
    tune->setEnabled(editable);
}

bool NumberField::eventFilter(QObject* watched, QEvent* event) {
    // The focus leaves the field for another control; a menu over it or another window
    // coming to the front only borrows the focus.
    if (watched == edit && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            checkText();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void NumberField::checkText() {
    if (const auto message = checkIntegerText(*m_check, m_setting)) {
        showSetting();
        m_frontend->notice(*message);
    }
}

} // namespace vellumar
