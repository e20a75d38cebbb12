#include "qt_dialog_host.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "qt_painter.h"

namespace {
QString qstr(const std::string& s) { return QString::fromStdString(s); }

// Static texts show '&' as the underline of the next letter and "&&" as '&'; a QLabel without a
// buddy shows them literally, so the markers are removed.
QString without_mnemonics(const std::string& text)
{
    QString out;
    const QString s = qstr(text);
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&')
                out += '&';
            ++i;
            if (i < s.size() && s[i] != '&')
                out += s[i];
            continue;
        }
        out += s[i];
    }
    return out;
}

QString to_widget_lines(const std::string& text)
{
    QString s = qstr(text);
    s.replace("\r\n", "\n");
    return s;
}

bool is_button(ControlKind kind) { return kind == ControlKind::Button || kind == ControlKind::DefaultButton; }

// The view the dialog talks to; it forwards to the window.
class View : public DialogView {
public:
    explicit View(DialogWindow& window) : window_(window) {}
    void control_changed(int id) override { window_.sync_control(id); }
    void caption_changed() override { window_.sync_caption(); }
    void invalidate() override { window_.update(); }
    void end_modal(int result) override { window_.end(result); }
    void destroy(int result) override { window_.remove(result); }
    void raise() override
    {
        window_.show();
        window_.raise();
        window_.activateWindow();
    }

private:
    DialogWindow& window_;
};
}

// ---- the host ----

QWidget* QtDialogHost::owner() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return parent_.data();
}

QDialog* QtDialogHost::last_open() const
{
    for (auto it = opened_.rbegin(); it != opened_.rend(); ++it)
        if (*it && (*it)->isVisible())
            return it->data();
    return nullptr;
}

int QtDialogHost::run_modal(Dialog& dialog)
{
    auto* window = new DialogWindow(dialog, true, owner());
    opened_.push_back(window);
    dialog.SetupWindow();
    const int result = window->run();
    if (window->dialog())
        dialog.detach();
    delete window;
    std::erase_if(opened_, [](const QPointer<QDialog>& p) { return p.isNull(); });
    return result;
}

void QtDialogHost::create_modeless(Dialog& dialog)
{
    auto* window = new DialogWindow(dialog, false, parent_.data());
    std::erase_if(opened_, [](const QPointer<QDialog>& p) { return p.isNull(); });
    opened_.push_back(window);
    dialog.SetupWindow();
    if (window->dialog())
        window->show();
}

// ---- the window ----

DialogWindow::DialogWindow(Dialog& dialog, bool modal, QWidget* parent)
    : QDialog(parent), dialog_(&dialog), view_(std::make_unique<View>(*this)), modal_(modal)
{
    setObjectName(QString("dialog_%1").arg(dialog.resource()));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(modal);
    // The dialog layouts are in pixels for an 8-point dialog font.
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    build();
    sync_caption();
    dialog.attach(view_.get(), modal);
}

DialogWindow::~DialogWindow()
{
    // Qt is removing a window the dialog still thinks it has (the program is ending).
    if (dialog_)
        dialog_->detach();
}

QWidget* DialogWindow::control_widget(int id) const
{
    if (!dialog_)
        return nullptr;
    const auto& controls = dialog_->controls();
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].def.id == id)
            return widgets_[i];
    return nullptr;
}

void DialogWindow::build()
{
    const auto& controls = dialog_->controls();
    widgets_.resize(controls.size(), nullptr);
    crlf_.resize(controls.size(), false);
    thumb_released_.resize(controls.size(), false);
    bool sized = false;
    for (size_t i = 0; i < controls.size(); ++i) {
        widgets_[i] = make_widget(i);
        const auto& def = controls[i].def;
        if (def.w > 0 || def.h > 0)
            sized = true;
    }
    if (sized) {
        int right = 0, bottom = 0;
        for (size_t i = 0; i < controls.size(); ++i) {
            const auto& def = controls[i].def;
            widgets_[i]->setGeometry(def.x, def.y, def.w, def.h);
            right = std::max(right, def.x + def.w);
            bottom = std::max(bottom, def.y + def.h);
        }
        const int w = dialog_->width() > 0 ? dialog_->width() : right + 8;
        const int h = dialog_->height() > 0 ? dialog_->height() : bottom + 8;
        setFixedSize(w, h);
    } else {
        place_by_flow();
    }
    // Frames and drawing regions lie behind the controls drawn over them.
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].def.kind == ControlKind::GroupBox || controls[i].def.kind == ControlKind::PaintArea)
            widgets_[i]->lower();
    for (size_t i = 0; i < controls.size(); ++i)
        sync(i);
}

// Controls without sizes: one column, with runs of buttons side by side.
void DialogWindow::place_by_flow()
{
    const auto& controls = dialog_->controls();
    auto* column = new QVBoxLayout(this);
    QHBoxLayout* buttons = nullptr;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (is_button(controls[i].def.kind)) {
            if (!buttons) {
                buttons = new QHBoxLayout;
                column->addLayout(buttons);
            }
            buttons->addWidget(widgets_[i]);
        } else {
            buttons = nullptr;
            column->addWidget(widgets_[i]);
        }
    }
    if (dialog_->width() > 0 && dialog_->height() > 0)
        resize(dialog_->width(), dialog_->height());
}

QWidget* DialogWindow::make_widget(size_t index)
{
    const ControlState& c = dialog_->controls()[index];
    QWidget* w = nullptr;
    switch (c.def.kind) {
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
        auto* b = new QPushButton(this);
        b->setAutoDefault(false);
        b->setDefault(c.def.kind == ControlKind::DefaultButton);
        connect(b, &QPushButton::clicked, this, [this, index] { clicked(index); });
        w = b;
        break;
    }
    case ControlKind::CheckBox: {
        auto* b = new QCheckBox(this);
        connect(b, &QCheckBox::clicked, this, [this, index] { clicked(index); });
        w = b;
        break;
    }
    case ControlKind::RadioButton: {
        // The dialog keeps its groups exclusive itself; Qt's own exclusivity would refuse to
        // clear a checked button when the program asks for it.
        auto* b = new QRadioButton(this);
        b->setAutoExclusive(false);
        connect(b, &QRadioButton::clicked, this, [this, index] { clicked(index); });
        w = b;
        break;
    }
    case ControlKind::Edit: {
        auto* e = new QLineEdit(this);
        connect(e, &QLineEdit::textEdited, this, [this, index](const QString& t) { typed(index, t.toStdString()); });
        w = e;
        break;
    }
    case ControlKind::MultiLineEdit: {
        auto* e = new QPlainTextEdit(this);
        connect(e, &QPlainTextEdit::textChanged, this, [this, index, e] {
            if (syncing_)
                return;
            QString t = e->toPlainText();
            if (crlf_[index])
                t.replace("\n", "\r\n");
            typed(index, t.toStdString());
        });
        w = e;
        break;
    }
    case ControlKind::HScroll:
    case ControlKind::VScroll: {
        auto* bar = new QScrollBar(c.def.kind == ControlKind::HScroll ? Qt::Horizontal : Qt::Vertical, this);
        bar->installEventFilter(this);
        connect(bar, &QScrollBar::actionTriggered, this, [this, index, bar](int action) {
            const ControlState* state = dialog_ ? &dialog_->controls()[index] : nullptr;
            if (!state)
                return;
            ScrollCode code;
            switch (action) {
            case QAbstractSlider::SliderSingleStepSub: code = ScrollCode::LineUp; break;
            case QAbstractSlider::SliderSingleStepAdd: code = ScrollCode::LineDown; break;
            case QAbstractSlider::SliderPageStepSub: code = ScrollCode::PageUp; break;
            case QAbstractSlider::SliderPageStepAdd: code = ScrollCode::PageDown; break;
            case QAbstractSlider::SliderMove:
                // Dragging is reported by sliderMoved; a wheel turn counts as line steps.
                if (bar->isSliderDown() || bar->sliderPosition() == state->pos)
                    return;
                code = bar->sliderPosition() < state->pos ? ScrollCode::LineUp : ScrollCode::LineDown;
                break;
            default:
                bar->setSliderPosition(state->pos);
                return;
            }
            scrolled(index, code, state->pos);
            // The bar moves only when the dialog sets the new position.
            if (dialog_)
                bar->setSliderPosition(dialog_->controls()[index].pos);
        });
        connect(bar, &QScrollBar::sliderMoved, this, [this, index](int value) { scrolled(index, ScrollCode::ThumbTrack, value); });
        connect(bar, &QScrollBar::sliderReleased, this, [this, index, bar] {
            thumb_released_[index] = true;
            const int value = bar->sliderPosition();
            scrolled(index, ScrollCode::ThumbPosition, value);
            scrolled(index, ScrollCode::EndScroll, value);
            if (dialog_) {
                QSignalBlocker block(bar);
                bar->setValue(dialog_->controls()[index].pos);
            }
        });
        w = bar;
        break;
    }
    case ControlKind::Static: {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = label;
        break;
    }
    case ControlKind::GroupBox:
        w = new QGroupBox(this);
        break;
    case ControlKind::PaintArea:
        w = new QWidget(this);
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        break;
    }
    if (c.def.id != -1)
        w->setObjectName(QString("control_%1").arg(c.def.id));
    crlf_[index] = c.text.find("\r\n") != std::string::npos;
    return w;
}

void DialogWindow::sync_control(int id)
{
    if (!dialog_)
        return;
    const auto& controls = dialog_->controls();
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].def.id == id) {
            sync(i);
            // A modeless window (the progress bar of a filter) is repainted at once: the
            // operation that moves it may not return to the event loop until it is done.
            if (!isModal() && isVisible())
                widgets_[i]->repaint();
        }
}

void DialogWindow::sync(size_t index)
{
    const ControlState& c = dialog_->controls()[index];
    QWidget* w = widgets_[index];
    QSignalBlocker block(w);
    syncing_ = true;
    switch (c.def.kind) {
    case ControlKind::Button:
    case ControlKind::DefaultButton:
        static_cast<QPushButton*>(w)->setText(qstr(c.text));
        break;
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: {
        auto* b = static_cast<QAbstractButton*>(w);
        b->setText(qstr(c.text));
        b->setChecked(c.checked != 0);
        break;
    }
    case ControlKind::Edit: {
        auto* e = static_cast<QLineEdit*>(w);
        if (e->text() != qstr(c.text))
            e->setText(qstr(c.text));
        break;
    }
    case ControlKind::MultiLineEdit: {
        auto* e = static_cast<QPlainTextEdit*>(w);
        if (c.text.find("\r\n") != std::string::npos)
            crlf_[index] = true;
        const QString t = to_widget_lines(c.text);
        if (e->toPlainText() != t)
            e->setPlainText(t);
        break;
    }
    case ControlKind::HScroll:
    case ControlKind::VScroll: {
        auto* bar = static_cast<QScrollBar*>(w);
        bar->setRange(c.min, std::max(c.min, c.max));
        bar->setPageStep(std::max(1, c.page));
        bar->setSingleStep(1);
        bar->setValue(c.pos);
        break;
    }
    case ControlKind::Static:
        static_cast<QLabel*>(w)->setText(without_mnemonics(c.text));
        break;
    case ControlKind::GroupBox:
        static_cast<QGroupBox*>(w)->setTitle(qstr(c.text));
        break;
    case ControlKind::PaintArea:
        break;
    }
    w->setEnabled(c.enabled);
    w->setVisible(c.visible);
    syncing_ = false;
}

void DialogWindow::sync_caption()
{
    if (dialog_)
        setWindowTitle(qstr(dialog_->caption()));
}

int DialogWindow::run()
{
    if (!ended_) {
        result_ = IDCANCEL;
        exec();
    }
    return result_;
}

void DialogWindow::end(int result)
{
    result_ = result;
    ended_ = true;
    done(result);
}

void DialogWindow::remove(int result)
{
    dialog_ = nullptr;
    if (modal_) {
        end(result);
        return;
    }
    hide();
    deleteLater();
}

void DialogWindow::reject()
{
    if (dialog_)
        dialog_->user_closed();
}

void DialogWindow::clicked(size_t index)
{
    if (!dialog_)
        return;
    QPointer<DialogWindow> self(this);
    const int id = dialog_->controls()[index].def.id;
    dialog_->user_clicked(id);
    // The widget toggled itself; show what the dialog made of the click.
    if (self && dialog_)
        sync(index);
}

void DialogWindow::scrolled(size_t index, ScrollCode code, int pos)
{
    if (dialog_)
        dialog_->user_scrolled(dialog_->controls()[index].def.id, code, pos);
}

void DialogWindow::typed(size_t index, const std::string& text)
{
    if (dialog_)
        dialog_->user_typed(dialog_->controls()[index].def.id, text);
}

void DialogWindow::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!dialog_)
        return;
    QPainter painter(this);
    QtPainter adapter(painter);
    dialog_->Paint(adapter);
}

// Scroll bars report pressing and letting go of the mouse (press-and-hold arrows), around what
// the bar itself makes of the press.
bool DialogWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(watched, event);
    if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton || !dialog_)
        return QDialog::eventFilter(watched, event);
    auto it = std::find(widgets_.begin(), widgets_.end(), watched);
    if (it == widgets_.end())
        return QDialog::eventFilter(watched, event);
    const size_t index = static_cast<size_t>(it - widgets_.begin());
    QPointer<DialogWindow> self(this);
    if (event->type() == QEvent::MouseButtonPress) {
        thumb_released_[index] = false;
        scrolled(index, ScrollCode::Press, dialog_->controls()[index].pos);
        return false;
    }
    QPointer<QObject> bar(watched);
    bar->event(event);   // the bar handles the release first (thumb position, end of drag)
    if (!self || !dialog_)
        return true;
    if (!thumb_released_[index])
        scrolled(index, ScrollCode::EndScroll, dialog_->controls()[index].pos);
    if (self && dialog_)
        scrolled(index, ScrollCode::Release, dialog_->controls()[index].pos);
    return true;
}
