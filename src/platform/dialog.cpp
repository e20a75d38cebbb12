#include "dialog.h"

#include "services.h"

Dialog::Dialog(int resource, std::string caption, int width, int height, std::vector<ControlSpec> controls)
    : resource_(resource), caption_(std::move(caption)), width_(width), height_(height)
{
    controls_.reserve(controls.size());
    for (auto& definition : controls) {
        ControlState state;
        state.text = definition.text;
        state.def = std::move(definition);
        controls_.push_back(std::move(state));
    }
}

Dialog::~Dialog()
{
    if (view_) {
        DialogView* view = view_;
        view_ = nullptr;
        view->destroy(IDCANCEL);
    }
}

int Dialog::Execute()
{
    return services().dialogs->run_modal(*this);
}

void Dialog::Create()
{
    services().dialogs->create_modeless(*this);
}

void Dialog::CloseWindow(int result)
{
    if (!view_)
        return;
    DialogView* view = view_;
    if (modal_) {
        view->end_modal(result);
    } else {
        view_ = nullptr;
        view->destroy(result);
        Destroyed();
    }
}

ControlState* Dialog::find(int id)
{
    for (auto& c : controls_)
        if (c.def.id == id)
            return &c;
    return nullptr;
}

const ControlState* Dialog::control(int id) const
{
    for (auto& c : controls_)
        if (c.def.id == id)
            return &c;
    return nullptr;
}

bool Dialog::has_control(int id) const { return control(id) != nullptr; }

void Dialog::changed(int id)
{
    if (view_)
        view_->control_changed(id);
}

void Dialog::SetText(int id, const std::string& text)
{
    if (auto* c = find(id); c && c->text != text) {
        c->text = text;
        changed(id);
    }
}

std::string Dialog::GetText(int id) const
{
    const auto* c = control(id);
    return c ? c->text : std::string();
}

void Dialog::SetCheck(int id, int checked)
{
    auto* c = find(id);
    if (!c || c->checked == checked)
        return;
    c->checked = checked;
    changed(id);
    // A checked radio button clears the others of its group.
    if (checked && c->def.kind == ControlKind::RadioButton) {
        const int group = c->def.group;
        for (auto& other : controls_)
            if (&other != c && other.def.kind == ControlKind::RadioButton && other.def.group == group && other.checked) {
                other.checked = 0;
                changed(other.def.id);
            }
    }
}

int Dialog::GetCheck(int id) const
{
    const auto* c = control(id);
    return c ? c->checked : 0;
}

void Dialog::SetScrollRange(int id, int min, int max, int page)
{
    if (auto* c = find(id)) {
        c->min = min;
        c->max = max;
        c->page = page;
        if (c->pos < min) c->pos = min;
        if (c->pos > max) c->pos = max;
        changed(id);
    }
}

void Dialog::SetScrollPos(int id, int pos)
{
    if (auto* c = find(id)) {
        if (pos < c->min) pos = c->min;
        if (pos > c->max) pos = c->max;
        if (c->pos != pos) {
            c->pos = pos;
            changed(id);
        }
    }
}

int Dialog::GetScrollPos(int id) const
{
    const auto* c = control(id);
    return c ? c->pos : 0;
}

void Dialog::EnableControl(int id, bool enabled)
{
    if (auto* c = find(id); c && c->enabled != enabled) {
        c->enabled = enabled;
        changed(id);
    }
}

void Dialog::ShowControl(int id, bool visible)
{
    if (auto* c = find(id); c && c->visible != visible) {
        c->visible = visible;
        changed(id);
    }
}

void Dialog::SetCaption(const std::string& caption)
{
    caption_ = caption;
    if (view_)
        view_->caption_changed();
}

void Dialog::Invalidate()
{
    if (view_)
        view_->invalidate();
}

void Dialog::on_click(int id, std::function<void()> handler) { clicks_[id] = std::move(handler); }
void Dialog::on_scroll(int id, std::function<void(ScrollCode, int)> handler) { scrolls_[id] = std::move(handler); }
void Dialog::on_change(int id, std::function<void()> handler) { changes_[id] = std::move(handler); }

void Dialog::user_clicked(int id)
{
    auto* c = find(id);
    if (c && !c->enabled)
        return;
    if (c && c->def.kind == ControlKind::CheckBox)
        SetCheck(id, c->checked ? 0 : 1);
    else if (c && c->def.kind == ControlKind::RadioButton)
        SetCheck(id, 1);
    if (auto it = clicks_.find(id); it != clicks_.end()) {
        auto handler = it->second;
        handler();
        return;
    }
    if (id == IDOK) {
        if (CanClose())
            CloseWindow(IDOK);
    } else if (id == IDCANCEL) {
        CloseWindow(IDCANCEL);
    }
}

void Dialog::user_scrolled(int id, ScrollCode code, int pos)
{
    if (auto it = scrolls_.find(id); it != scrolls_.end()) {
        auto handler = it->second;
        handler(code, pos);
    }
}

void Dialog::user_typed(int id, const std::string& text)
{
    auto* c = find(id);
    if (!c || c->text == text)
        return;
    c->text = text;
    if (auto it = changes_.find(id); it != changes_.end()) {
        auto handler = it->second;
        handler();
    }
}

void Dialog::user_closed()
{
    if (auto it = clicks_.find(IDCANCEL); it != clicks_.end()) {
        auto handler = it->second;
        handler();
        return;
    }
    CloseWindow(IDCANCEL);
}

void Dialog::attach(DialogView* view, bool modal)
{
    view_ = view;
    modal_ = modal;
}

void Dialog::detach()
{
    view_ = nullptr;
}
