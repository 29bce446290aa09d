#include "forms/form.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/stockcontrols.h"
#include "forms/surface.h"
#include "forms/units.h"

#include <algorithm>

namespace forms {

namespace {

// Forms loaded and not yet unloaded: the application runs while there is one.
std::vector<Form*>& loadedForms() {
    static std::vector<Form*> forms;
    return forms;
}

} // namespace

Form::Form() : WindowedControl(nullptr, NoPeer{}) {
    ControlPeer<FormPeer> peer = backend::createFormPeer(*this, *this);
    m_form = peer.control;
    attachPeer(std::move(peer.window));
    // Hidden until shown.
    Control::setVisible(false);
    // The client area of a new window until the form sets its own; never empty, since an empty
    // window is never shown.
    setClientSizeTwips(4680, 3195);
}

Form::~Form() {
    std::erase(loadedForms(), this);
}

void Form::Load() {
    if (m_loaded)
        return;
    m_loaded = true;
    loadedForms().push_back(this);
    Form_Load();
}

void Form::Show() {
    Load();
    if (m_unloaded)
        return;
    Control::setVisible(true);
    m_form->show();
}

void Form::Hide() {
    Control::setVisible(false);
    m_form->hide();
}

void Form::setVisible(bool visible) {
    if (visible)
        Show();
    else
        Hide();
}

void Form::Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    Form_Unload();
    Hide();
    // Later, so that the handler that unloaded it (its own, maybe) runs to its end.
    backend::post([this, alive = Alive(lifetime())] {
        if (alive)
            delete this;
    });
    auto& loaded = loadedForms();
    const auto it = std::find(loaded.begin(), loaded.end(), this);
    if (it == loaded.end())
        return;
    loaded.erase(it);
    if (loaded.empty())
        backend::quit(0);
}

void Form::Minimize() {
    m_form->minimize();
}

void Form::setClientSizeTwips(int width, int height) {
    const PixelRect r = twipsToPixels(0, 0, width, height);
    Move(0, 0, static_cast<float>(r.width), static_cast<float>(r.height));
}

void Form::setBorderStyle(BorderStyle style) {
    m_borderStyle = style;
    m_form->setBorderStyle(style);
}

void Form::setCaption(const std::u16string& caption) {
    m_caption = caption;
    m_form->setCaption(caption);
}

void Form::setIcon(PictureRef icon) {
    m_icon = std::move(icon);
    m_form->setIcon(m_icon ? m_icon->image() : PixelImage());
}

void Form::setIcon(const std::u16string& resourcePath) {
    setIcon(loadPicture(resourcePath));
}

void Form::setBackColor(OleColor color) {
    checkColor(color);
    m_backColor = color;
    invalidate();
}

void Form::paintBackground(Surface& surface) const {
    surface.fillRect({0, 0, pixelRect().width, pixelRect().height}, opaquePixel(m_backColor));
}

Menu* Form::addMenu(const std::u16string& caption) {
    m_menus.push_back(std::make_unique<Menu>(m_form->addMenu(caption), caption));
    return m_menus.back().get();
}

void Form::setTabOrder(std::initializer_list<WindowedControl*> controls) {
    std::vector<WindowPeer*> peers;
    for (WindowedControl* c : controls)
        peers.push_back(c->peer());
    backend::setTabOrder(peers);
    if (controls.size() == 0)
        return;
    if (Form* form = of(*controls.begin())) {
        form->m_tabOrder.assign(controls.begin(), controls.end());
        // The option button that holds its group's stop depends on the order.
        for (WindowedControl* c : controls)
            if (auto* option = dynamic_cast<OptionButton*>(c))
                option->updateTabStops();
    }
}

void Form::activateMenuBar() {
    m_form->activateMenuBar();
}

Form* Form::of(const Control* control) {
    const Control* top = control;
    while (top && top->container())
        top = top->container();
    return dynamic_cast<Form*>(const_cast<Control*>(top));
}

void Form::closeRequested() {
    Unload();
}

void Form::activationChanged(Activation activation) {
    switch (activation) {
    case Activation::ThisWindow:
        m_wasActive = true;
        break;
    case Activation::AnotherOfOurs:
        if (!m_wasActive || m_unloaded)
            return;
        m_wasActive = false;
        Form_Deactivate();
        break;
    case Activation::NoneOfOurs:
        // Another application: wait for the next window of ours to become active.
        break;
    }
}

} // namespace forms
