#include "script_session.h"

#include <algorithm>

#include "app/core/commands.h"
#include "app/main_window.h"
#include "headless_services.h"
#include "null_painter.h"
#include "platform/dialog.h"
#include "platform/paths.h"
#include "platform/services.h"

namespace {
class HeadlessDialogView : public DialogView {
public:
    HeadlessDialogView(ScriptSession& s, Dialog& d) : session_(s), dialog_(d) {}
    void control_changed(int) override {}
    void caption_changed() override {}
    void invalidate() override { session_.dialog_invalidated(dialog_); }
    void end_modal(int result) override { session_.modal_ended(dialog_, result); }
    void destroy(int result) override { session_.modeless_destroyed(dialog_, result); delete this; }
private:
    ScriptSession& session_;
    Dialog& dialog_;
};

bool is_press(ActionKind k)
{
    return k == ActionKind::Key || k == ActionKind::LeftClick || k == ActionKind::RightClick ||
           k == ActionKind::Press || k == ActionKind::Scroll;
}

PressKind press_kind(ActionKind k)
{
    switch (k) {
    case ActionKind::Key: return PressKind::Key;
    case ActionKind::RightClick: return PressKind::RightButton;
    case ActionKind::LeftClick: return PressKind::LeftButton;
    default: return PressKind::Control;
    }
}

std::string answer_word(BoxAnswer a)
{
    switch (a) {
    case BoxAnswer::Ok: return "ok";
    case BoxAnswer::Cancel: return "cancel";
    case BoxAnswer::Yes: return "yes";
    case BoxAnswer::No: return "no";
    }
    return "cancel";
}

std::optional<BoxAnswer> answer_for(const std::string& word, BoxButtons buttons)
{
    const bool ok_cancel = buttons == BoxButtons::OkCancel;
    const bool has_cancel = buttons != BoxButtons::YesNo;
    if (word == "ok" && ok_cancel) return BoxAnswer::Ok;
    if (word == "cancel" && has_cancel) return BoxAnswer::Cancel;
    if (word == "yes" && !ok_cancel) return BoxAnswer::Yes;
    if (word == "no" && !ok_cancel) return BoxAnswer::No;
    return std::nullopt;
}

BoxAnswer default_answer(BoxButtons buttons)
{
    if (buttons == BoxButtons::YesNo) return BoxAnswer::No;
    return BoxAnswer::Cancel;
}

std::string field_text(const ControlState& c)
{
    switch (c.def.kind) {
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        return c.checked ? "1" : "0";
    case ControlKind::HScroll:
    case ControlKind::VScroll:
        return std::to_string(c.pos);
    default:
        return c.text;
    }
}
}

ScriptSession::ScriptSession(Script script, VirtualClock& clock, std::ostream& out)
    : script_(std::move(script)), clock_(clock), start_us_(clock.now_us()), out_(out)
{
}

void ScriptSession::print(const std::string& line)
{
    out_ << line << '\n';
    out_.flush();
}

void ScriptSession::error(int line, const std::string& why)
{
    print("error " + std::to_string(line) + " " + quote(why));
}

int64_t ScriptSession::elapsed_ms() const
{
    return (clock_.now_us() - start_us_) / 1000;
}

const ScriptAction* ScriptSession::peek()
{
    if (quitting_ || next_ >= script_.sequence.size())
        return nullptr;
    return &script_.sequence[next_];
}

Dialog* ScriptSession::top_dialog() const
{
    for (auto it = open_.rbegin(); it != open_.rend(); ++it)
        if (!it->ended)
            return it->dialog;
    return nullptr;
}

void ScriptSession::idle()
{
    if (frame_)
        frame_->paint_if_dirty();
    for (size_t i = 0; i < open_.size(); ++i)
        if (open_[i].dirty && !open_[i].ended) {
            open_[i].dirty = false;
            NullPainter painter;
            open_[i].dialog->Paint(painter);
        }
}

void ScriptSession::deliver_due(const std::function<void(PressKind)>* on_press)
{
    while (next_scheduled_ < script_.scheduled.size() && script_.scheduled[next_scheduled_].ms <= elapsed_ms()) {
        const ScriptAction action = script_.scheduled[next_scheduled_++];
        if (on_press && is_press(action.kind))
            (*on_press)(press_kind(action.kind));
        apply(action, top_dialog() ? Context::Modal : Context::Main);
    }
}

void ScriptSession::wait(int64_t ms)
{
    const int64_t target = clock_.now_us() + ms * 1000;
    while (next_scheduled_ < script_.scheduled.size()) {
        const int64_t due = start_us_ + script_.scheduled[next_scheduled_].ms * 1000;
        if (due > target)
            break;
        clock_.advance_to_us(due);
        deliver_due(nullptr);
        idle();
    }
    clock_.advance_to_us(target);
}

void ScriptSession::drain(const std::function<void(PressKind)>& on_press)
{
    if (quitting_) {
        on_press(PressKind::Key);
        return;
    }
    deliver_due(&on_press);
    idle();
}

void ScriptSession::apply_to_dialog(const ScriptAction& a)
{
    Dialog* d = top_dialog();
    if (!d) {
        error(a.line, "no dialog is open");
        return;
    }
    if (a.kind != ActionKind::Close && !d->has_control(a.id)) {
        error(a.line, "the dialog has no control " + std::to_string(a.id));
        return;
    }
    switch (a.kind) {
    case ActionKind::Press:
        d->user_clicked(a.id);
        break;
    case ActionKind::Scroll: {
        const int pos = (a.scroll == ScrollCode::ThumbTrack || a.scroll == ScrollCode::ThumbPosition) ? a.pos : d->GetScrollPos(a.id);
        d->user_scrolled(a.id, a.scroll, pos);
        break;
    }
    case ActionKind::Type:
        d->user_typed(a.id, a.text);
        break;
    case ActionKind::Close:
        d->user_closed();
        break;
    case ActionKind::Show:
        print("field " + std::to_string(a.id) + " " + quote(field_text(*d->control(a.id))));
        break;
    default:
        break;
    }
}

void ScriptSession::apply(const ScriptAction& a, Context context)
{
    const bool modal_open = std::any_of(open_.begin(), open_.end(), [](const OpenDialog& o) { return o.modal && !o.ended; });
    switch (a.kind) {
    case ActionKind::Command:
        if (modal_open) error(a.line, "a modal dialog is open");
        else dispatch_command(a.id);
        break;
    case ActionKind::Key:
        break;
    case ActionKind::LeftClick:
    case ActionKind::RightClick:
    case ActionKind::Move:
        if (modal_open) {
            error(a.line, "a modal dialog is open");
            break;
        }
        if (desktop_) desktop_->move_pointer({a.x, a.y});
        if (a.kind == ActionKind::LeftClick) EvLButtonUp(a.x, a.y);
        else if (a.kind == ActionKind::RightClick) EvRButtonUp(a.x, a.y);
        else EvMouseMove(a.x, a.y);
        break;
    case ActionKind::Press:
    case ActionKind::Scroll:
    case ActionKind::Type:
    case ActionKind::Close:
    case ActionKind::Show:
        apply_to_dialog(a);
        break;
    case ActionKind::Reply:
        error(a.line, "no message box is waiting for a reply");
        break;
    case ActionKind::Choose:
        error(a.line, "no file dialog is open");
        break;
    case ActionKind::Wait:
        wait(a.ms);
        break;
    case ActionKind::Shot:
        break;
    case ActionKind::Quit:
        quitting_ = true;
        break;
    }
    (void)context;
}

void ScriptSession::run_main_loop()
{
    run_lines();
    quitting_ = true;
}

void ScriptSession::run_lines()
{
    idle();
    while (const ScriptAction* a = peek()) {
        const ScriptAction action = *a;
        take();
        apply(action, Context::Main);
        idle();
    }
}

BoxAnswer ScriptSession::answer_box(const std::string& caption, const std::string& text, BoxButtons buttons)
{
    if (buttons == BoxButtons::Ok) {
        print("message " + quote(caption) + " " + quote(text));
        return BoxAnswer::Ok;
    }
    BoxAnswer answer = default_answer(buttons);
    if (const ScriptAction* a = peek()) {
        if (a->kind == ActionKind::Reply) {
            if (auto chosen = answer_for(a->text, buttons))
                answer = *chosen;
            else
                error(a->line, "the box does not offer " + a->text);
            take();
        } else {
            error(a->line, "a message box is waiting for a reply");
        }
    }
    print("ask " + quote(caption) + " " + quote(text) + " -> " + answer_word(answer));
    return answer;
}

std::optional<std::string> ScriptSession::answer_file_dialog(const FileDialogRequest& request)
{
    const std::string head = std::string("filedialog ") + (request.save ? "save " : "open ") + quote(request.filter) + " -> ";
    const ScriptAction* a = peek();
    if (!a || a->kind != ActionKind::Choose) {
        if (a)
            error(a->line, "a file dialog is waiting for a choice");
        print(head + "cancel");
        return std::nullopt;
    }
    const ScriptAction action = *a;
    take();
    if (action.cancel) {
        print(head + "cancel");
        return std::nullopt;
    }
    print(head + quote(action.text));
    std::string native = services().paths->native(action.text);
    const auto slash = native.find_last_of('/');
    if (slash != std::string::npos && slash > 0)
        services().paths->set_current_folder(native.substr(0, slash));
    return native;
}

int ScriptSession::run_modal(Dialog& dialog)
{
    auto* view = new HeadlessDialogView(*this, dialog);
    open_.push_back({&dialog, true});
    dialog.attach(view, true);
    print("open " + std::to_string(dialog.resource()) + " " + quote(dialog.caption()));
    dialog.SetupWindow();
    auto mine = [&]() -> OpenDialog* {
        for (auto& o : open_)
            if (o.dialog == &dialog && o.modal)
                return &o;
        return nullptr;
    };
    idle();
    while (!mine()->ended) {
        const ScriptAction* a = peek();
        if (!a) {
            quitting_ = true;
            dialog.CloseWindow(IDCANCEL);
            break;
        }
        const ScriptAction action = *a;
        take();
        apply(action, Context::Modal);
        idle();
    }
    const int result = mine()->result;
    open_.erase(std::find_if(open_.begin(), open_.end(), [&](const OpenDialog& o) { return o.dialog == &dialog && o.modal; }));
    dialog.detach();
    delete view;
    print("close " + std::to_string(dialog.resource()) + " " + std::to_string(result));
    return result;
}

void ScriptSession::open_modeless(Dialog& dialog)
{
    auto* view = new HeadlessDialogView(*this, dialog);
    open_.push_back({&dialog, false});
    dialog.attach(view, false);
    print("open " + std::to_string(dialog.resource()) + " " + quote(dialog.caption()));
    dialog.SetupWindow();
}

void ScriptSession::modal_ended(Dialog& dialog, int result)
{
    for (auto& o : open_)
        if (o.dialog == &dialog && o.modal && !o.ended) {
            o.ended = true;
            o.result = result;
        }
}

void ScriptSession::modeless_destroyed(Dialog& dialog, int result)
{
    auto it = std::find_if(open_.begin(), open_.end(), [&](const OpenDialog& o) { return o.dialog == &dialog && !o.modal; });
    if (it == open_.end())
        return;
    open_.erase(it);
    print("close " + std::to_string(dialog.resource()) + " " + std::to_string(result));
}

void ScriptSession::dialog_invalidated(Dialog& dialog)
{
    for (auto& o : open_)
        if (o.dialog == &dialog)
            o.dirty = true;
}
