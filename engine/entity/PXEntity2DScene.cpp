// Scene type loading, the scene's update and draw order, dialog stack, input routing,
// tooltips and the element helpers scene subclasses use.
#include "engine/entity/PXEntity2DScene.h"

#include <algorithm>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXInputMap.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "engine/gui/PXPropertyIds.h"

PXEntity2DScenePrototype g_2DScenePrototype;

namespace {

constexpr float ToolTipMaxBackgroundAlpha = 224.0f;
constexpr int32_t FrameWidth = 640;
constexpr int32_t FrameHeight = 480;

// A GUI element of the referenced type, or none (unknown, empty or of another kind).
std::unique_ptr<PXEntity2DGUIElement> CreateElement(const PXEntityRef& ref, uint32_t kind)
{
    return CreateEntityAs<PXEntity2DGUIElement>(g_entityRegistry, ref, kind);
}

template <typename T> std::unique_ptr<T> CreateDialog(const PXEntityRef& ref, uint32_t kind)
{
    std::unique_ptr<PXEntity2DGUIElement> made = CreateElement(ref, kind);
    auto* dialog = dynamic_cast<T*>(made.get());
    if (dialog == nullptr) {
        return nullptr;
    }
    made.release();
    return std::unique_ptr<T>(dialog);
}

void CreateRecordEntity(PXSceneElement& record)
{
    if (record.entity != nullptr) {
        return;
    }
    record.entity = CreateElement(record.ref, PXKind::GuiElement);
    if (record.entity != nullptr) {
        record.entity->GetType()->Load(false);
        record.entity->SetPosition({record.x, record.y});
    }
}

bool DefaultDialogCallback(void* userData, PXSceneDialog* dialog)
{
    auto* scene = static_cast<PXEntity2DScene*>(userData);
    return scene == nullptr || scene->OnDialogClosed(dialog);
}

// Centres a dialog on the 640 x 480 frame.
void CentreDialog(PXSceneDialog& dialog)
{
    PXRect r;
    dialog.GetRect(&r);
    dialog.SetPosition({(FrameWidth - (r.right - r.left)) >> 1, (FrameHeight - (r.bottom - r.top)) >> 1});
}

// A centred message box of the referenced type showing `text` with the buttons of `style`,
// or none.
std::unique_ptr<PXSceneDialog> MakeMessageBox(const PXEntityRef& ref, const std::string& text, int32_t style)
{
    std::unique_ptr<PXSceneDialog> box = CreateDialog<PXSceneDialog>(ref, PXKind::MessageBox);
    if (box != nullptr) {
        box->SetMessage(text);
        box->SetButtons(style);
        CentreDialog(*box);
    }
    return box;
}

}  // namespace

// ---- Scene type ----

PXSceneElement PXEntity2DSceneType::ReadPlacedElement(const PXDefinitionBlock& block,
                                                      const std::string& refKey, const std::string& posKey,
                                                      const std::string& priorityKey)
{
    PXSceneElement record;
    ReadRef(&block, refKey.c_str(), &record.ref);
    int pos[2] = {0, 0};
    if (block.FindKey(posKey)) {
        block.ReadInts(pos, 2);
    }
    record.x = pos[0];
    record.y = pos[1];
    int priority = 0;
    ReadInt(&block, priorityKey.c_str(), &priority);
    record.priority = std::min(priority, MaxPriority);
    return record;
}

PXEntity2DSceneType::PXEntity2DSceneType(const PXDefinitionBlock* block)
{
    if (block == nullptr) {
        return;
    }
    int count = 0;
    ReadInt(block, "NumGUIElements", &count);
    count = std::clamp(count, 0, MaxElements);
    for (int i = 1; i <= count; ++i) {
        const std::string prefix = "GUIElement" + std::to_string(i);
        m_elements.push_back(ReadPlacedElement(*block, prefix + "Ent", prefix + "Pos", prefix + "Priority"));
        m_elements.back().readIndex = m_elements.size() - 1;
    }

    m_cursor = std::make_unique<PXSceneElement>();
    m_cursor->priority = CursorPriority;
    ReadRef(block, "CursorEnt", &m_cursor->ref);
    if (block->FindKey("CursorEntPos")) {
        int pos[2] = {0, 0};
        block->ReadInts(pos, 2);
        m_cursor->x = pos[0];
        m_cursor->y = pos[1];
    }
    ReadRef(block, "ToolTipTextEnt", &m_toolTipTextRef);
    if (block->FindKey("ToolTipBGCol")) {
        block->ReadColor(&m_toolTipColor);
    }
    ReadInt(block, "TransType", &m_transitionStyle);
    ReadInt(block, "CursorMoveTimeOut", &m_cursorTimeout);
    // A reference that does not read keeps the default box.
    if (block->FindKey("MessageBoxEnt")) {
        block->ReadEntityRef(&m_messageBoxRef);
    }
    if (block->FindKey("InputBoxEnt")) {
        block->ReadEntityRef(&m_inputBoxRef);
    }
}

PXEntity2DSceneType::~PXEntity2DSceneType()
{
    Unload();
}

void PXEntity2DSceneType::AddElementFromKeys(const std::string& prefix, const PXDefinitionBlock& block,
                                             std::vector<PXSceneElement>& list)
{
    list.push_back(ReadPlacedElement(block, prefix + "Ent", prefix + "EntPos", prefix + "EntPriority"));
    list.back().readIndex = list.size() - 1;
}

int PXEntity2DSceneType::AddSlot(const std::string& prefix, const PXDefinitionBlock& block)
{
    AddElementFromKeys(prefix, block, m_elements);
    m_slotIndex.push_back(m_elements.size() - 1);
    return static_cast<int>(m_slotIndex.size() - 1);
}

PXSceneElement* PXEntity2DSceneType::SlotRecord(int slot)
{
    return const_cast<PXSceneElement*>(static_cast<const PXEntity2DSceneType*>(this)->SlotRecord(slot));
}

const PXSceneElement* PXEntity2DSceneType::SlotRecord(int slot) const
{
    if (slot < 0 || static_cast<size_t>(slot) >= m_slotIndex.size()) {
        return nullptr;
    }
    const size_t index = m_slotIndex[static_cast<size_t>(slot)];
    return index < m_elements.size() ? &m_elements[index] : nullptr;
}

PXEntity2DGUIElement* PXEntity2DSceneType::SlotEntity(int slot) const
{
    const PXSceneElement* record = SlotRecord(slot);
    return record != nullptr ? record->entity.get() : nullptr;
}

void PXEntity2DSceneType::SortElements()
{
    std::vector<size_t> order(m_elements.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [this](size_t a, size_t b) { return m_elements[a].priority < m_elements[b].priority; });
    std::vector<size_t> newIndex(m_elements.size());
    std::vector<PXSceneElement> sorted;
    sorted.reserve(m_elements.size());
    for (size_t from : order) {
        newIndex[from] = sorted.size();
        sorted.push_back(std::move(m_elements[from]));
    }
    m_elements = std::move(sorted);
    for (size_t& index : m_slotIndex) {
        index = newIndex[index];
    }
}

int PXEntity2DSceneType::SlotOf(const PXEntity2DGUIElement* element) const
{
    for (size_t slot = 0; element != nullptr && slot < m_slotIndex.size(); ++slot) {
        if (SlotEntity(static_cast<int>(slot)) == element) {
            return static_cast<int>(slot);
        }
    }
    return -1;
}

void PXEntity2DSceneType::AddSlots(const char* const* prefixes, size_t count, const PXDefinitionBlock& block,
                                   int* slots)
{
    for (size_t i = 0; i < count; ++i) {
        slots[i] = AddSlot(prefixes[i], block);
    }
}

int PXEntity2DSceneType::IndexOfSlot(const PXEntity2DGUIElement* element, const int* slots, size_t count) const
{
    const int slot = SlotOf(element);
    for (size_t i = 0; slot >= 0 && i < count; ++i) {
        if (slots[i] == slot) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<PXEntity2DGUIElement*> PXEntity2DSceneType::ElementsInDefinitionOrder() const
{
    std::vector<const PXSceneElement*> records;
    for (const PXSceneElement& record : m_elements) {
        if (record.entity != nullptr) {
            records.push_back(&record);
        }
    }
    std::sort(records.begin(), records.end(),
              [](const PXSceneElement* a, const PXSceneElement* b) { return a->readIndex < b->readIndex; });
    std::vector<PXEntity2DGUIElement*> elements;
    elements.reserve(records.size());
    for (const PXSceneElement* record : records) {
        elements.push_back(record->entity.get());
    }
    return elements;
}

std::unique_ptr<PXEntityBase> PXEntity2DSceneType::CreateEntity()
{
    return std::make_unique<PXEntity2DScene>(this);
}

bool PXEntity2DSceneType::Load(bool reload)
{
    LoadScope scope(*this);
    return scope.Entered() && LoadWith(reload, [this] {
               SortElements();
               for (PXSceneElement& record : m_elements) {
                   CreateRecordEntity(record);
               }
               if (m_cursor != nullptr) {
                   CreateRecordEntity(*m_cursor);
               }
               if (m_toolTipText == nullptr) {
                   m_toolTipText = CreateElement(m_toolTipTextRef, PXKind::GuiElement);
               }
           });
}

bool PXEntity2DSceneType::Unload()
{
    return UnloadWith([this] {
        for (PXSceneElement& record : m_elements) {
            record.entity.reset();
        }
        if (m_cursor != nullptr) {
            m_cursor->entity.reset();
        }
        m_toolTipText.reset();
    });
}

bool PXEntity2DSceneType::IsA(uint32_t kind) const
{
    return kind == PXKind::Scene || PXEntityBaseType::IsA(kind);
}

// ---- Scene ----

PXEntity2DScene::PXEntity2DScene(PXEntity2DSceneType* type) : PXEntityBase(type)
{
    if (m_type != nullptr) {
        m_type->Load(false);
        ListenedElements();
    }
}

PXEntity2DScene::~PXEntity2DScene()
{
    // The elements belong to the type and outlive the scene: none keeps the focused look,
    // the pointer's hold or this scene as its listener.
    if (m_type != nullptr && m_type->IsLoaded()) {
        const std::vector<PXEntity2DGUIElement*> elements = SceneType()->ElementsInDefinitionOrder();
        m_focus.Release(elements);
        for (PXEntity2DGUIElement* element : elements) {
            if (element == m_held) {
                element->OnPointerUp(m_heldAt);
            }
            if (element->GetChangeListener() == this) {
                element->SetChangeListener(nullptr);
            }
        }
    }
}

std::vector<PXEntity2DGUIElement*> PXEntity2DScene::ListenedElements()
{
    std::vector<PXEntity2DGUIElement*> elements = SceneType()->ElementsInDefinitionOrder();
    for (PXEntity2DGUIElement* element : elements) {
        element->SetChangeListener(this);
    }
    return elements;
}

PXEntity2DGUIElement* PXEntity2DScene::Holder()
{
    if (m_held == nullptr) {
        return nullptr;
    }
    const std::vector<PXEntity2DGUIElement*> elements = SceneType()->ElementsInDefinitionOrder();
    if (std::find(elements.begin(), elements.end(), m_held) == elements.end()) {
        // The type made new elements: the old one is gone and hears nothing more.
        m_held = nullptr;
    } else if (!m_held->CanTakeFocus()) {
        EndHold(m_heldAt);
    }
    return m_held;
}

void PXEntity2DScene::StepHold()
{
    if (Holder() == nullptr) {
        return;
    }
    const PXPoint pointer{g_mouseX, g_mouseY};
    if (!g_leftButtonDown || m_modal) {
        EndHold(pointer);
        return;
    }
    if (pointer.x != m_heldAt.x || pointer.y != m_heldAt.y) {
        m_heldAt = pointer;
        m_held->OnPointerDrag(pointer);
    }
}

void PXEntity2DScene::EndHold(const PXPoint& point)
{
    PXEntity2DGUIElement* held = m_held;
    m_held = nullptr;
    if (held != nullptr) {
        held->OnPointerUp(point);
    }
}

bool PXEntity2DScene::HoldAt(const PXPoint* point)
{
    if (point == nullptr) {
        return false;
    }
    const std::vector<PXEntity2DGUIElement*> elements = ListenedElements();
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        if ((*it)->OnPointerDown(*point)) {
            m_held = *it;
            m_heldAt = *point;
            m_focus.Focus(m_held, true, elements);
            return true;
        }
    }
    return false;
}

bool PXEntity2DScene::IsCursorShown() const
{
    const int32_t timeout = SceneType()->GetCursorTimeout();
    return timeout <= 0 || m_cursorIdleMs <= static_cast<float>(timeout);
}

bool PXEntity2DScene::Update(float elapsedMs)
{
    PXEntity2DSceneType* type = SceneType();
    type->Load(false);
    m_closedDialogs.clear();

    StepHold();
    if (!m_modal) {
        // While an element holds the pointer the focus stays on it.
        if (TakesFocus() && m_held == nullptr) {
            m_focus.FollowPointer({g_mouseX, g_mouseY}, ListenedElements());
        }
        for (PXSceneElement& record : type->GetElements()) {
            if (record.entity != nullptr) {
                record.entity->Update(elapsedMs);
            }
        }
    }
    if (m_modal && !m_dialogs.empty()) {
        m_dialogs.front()->Update(elapsedMs);
    } else {
        // Oldest first; a dialog may close itself while updating, which only moves it to
        // the closed list, so walk a copy of the pointers.
        std::vector<PXSceneDialog*> open;
        for (auto it = m_dialogs.rbegin(); it != m_dialogs.rend(); ++it) {
            open.push_back(it->get());
        }
        for (PXSceneDialog* dialog : open) {
            dialog->Update(elapsedMs);
        }
    }

    if (PXEntity2DGUIElement* cursor = type->GetCursorEntity()) {
        cursor->Update(elapsedMs);
        cursor->Invalidate();
        cursor->GetPosition(&m_lastCursorPos);
        if (g_mouseX == m_lastCursorPos.x && g_mouseY == m_lastCursorPos.y) {
            m_cursorIdleMs += elapsedMs;
        } else {
            m_cursorIdleMs = 0.0f;
        }
        PXRect r;
        cursor->GetRect(&r);
        if (g_screen != nullptr) {
            g_screen->InvalidateRect(r, false);
        }
        cursor->SetPosition({g_mouseX, g_mouseY});
    }

    PXEntity2DGUIElement* text = type->GetToolTipText();
    if (m_toolTip != nullptr && !StepToolTip(*m_toolTip, elapsedMs)) {
        m_toolTip.reset();
        if (text != nullptr) {
            // The text's glyph cells may have reached past the background.
            text->Invalidate();
        }
    }
    if (m_oldToolTip != nullptr && !StepToolTip(*m_oldToolTip, elapsedMs)) {
        m_oldToolTip.reset();
    }
    // A new alpha invalidates the text and clears under it, so it is set here, before
    // anything is drawn, and not in Draw, where the clearing would wipe what lies below.
    if (m_toolTip != nullptr && text != nullptr) {
        text->SetAlpha(static_cast<int32_t>(m_toolTip->alpha));
    }
    return true;
}

bool PXEntity2DScene::StepToolTip(PXToolTip& tip, float elapsedMs)
{
    tip.remaining -= elapsedMs;
    if (g_screen != nullptr) {
        g_screen->InvalidateRect(tip.rect, false);
    }
    if (tip.remaining < 0.0f) {
        return false;
    }
    if (tip.remaining > 255.0f) {
        if (tip.alpha < 255.0f) {
            tip.alpha = std::min(tip.alpha + elapsedMs, 255.0f);
        }
    } else {
        tip.alpha = tip.remaining;
    }
    return true;
}

bool PXEntity2DScene::Draw()
{
    if (m_hostDialog != nullptr) {
        return true;
    }
    PXEntity2DSceneType* type = SceneType();
    for (PXSceneElement& record : type->GetElements()) {
        if (record.entity == nullptr || record.priority >= PXEntity2DSceneType::TopLayerPriority ||
            !record.entity->IsVisible()) {
            continue;
        }
        record.entity->Draw();
    }
    DrawTop();
    for (auto it = m_dialogs.rbegin(); it != m_dialogs.rend(); ++it) {
        (*it)->Draw();
    }
    PXEntity2DGUIElement* text = type->GetToolTipText();
    // Only the current tooltip is drawn; a replaced one just runs out its time.
    if (m_toolTip != nullptr && text != nullptr) {
        PXColor color = type->GetToolTipColor();
        color.alpha = static_cast<uint8_t>(std::min(m_toolTip->alpha, ToolTipMaxBackgroundAlpha));
        if (g_screen != nullptr) {
            g_screen->FillRect(m_toolTip->rect, color);
        }
        text->Draw();
    }
    // The cursor goes over everything, unless the mouse has rested past the scene's timeout.
    PXEntity2DGUIElement* cursor = type->GetCursorEntity();
    if (cursor != nullptr && IsCursorShown()) {
        cursor->Draw();
    }
    return true;
}

bool PXEntity2DScene::DrawTop()
{
    if (m_hostDialog != nullptr) {
        return true;
    }
    for (PXSceneElement& record : SceneType()->GetElements()) {
        if (record.entity != nullptr && record.priority >= PXEntity2DSceneType::TopLayerPriority &&
            record.entity->IsVisible()) {
            record.entity->Draw();
        }
    }
    return true;
}

template <typename Route> bool PXEntity2DScene::RouteToDialogs(Route route)
{
    if (m_modal && !m_dialogs.empty()) {
        route(*m_dialogs.front());
        return true;
    }
    // Oldest first; a dialog that answers may close itself, so walk a copy.
    std::vector<PXSceneDialog*> open;
    for (auto it = m_dialogs.rbegin(); it != m_dialogs.rend(); ++it) {
        open.push_back(it->get());
    }
    for (PXSceneDialog* dialog : open) {
        if (route(*dialog)) {
            return true;
        }
    }
    return false;
}

bool PXEntity2DScene::MouseUpToDialogs(const PXPoint* point, int button)
{
    return RouteToDialogs([&](PXSceneDialog& d) { return d.DialogMouseUp(point, button); });
}

bool PXEntity2DScene::KeyToDialogs(int key)
{
    return RouteToDialogs([&](PXSceneDialog& d) { return d.DialogKeyDown(key); });
}

bool PXEntity2DScene::KeyToFocus(int key)
{
    return TakesFocus() && OnInputAction(g_inputMap.ForKey(PXInputContext::Menu, key));
}

bool PXEntity2DScene::PressAt(const PXPoint* point)
{
    if (point == nullptr) {
        return false;
    }
    std::vector<PXEntity2DGUIElement*> elements = SceneType()->ElementsInDefinitionOrder();
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        if ((*it)->Click(*point) && OnElementPressed(*it)) {
            return true;
        }
    }
    return false;
}

bool PXEntity2DScene::OnMouseUp(const PXPoint* point, int button)
{
    // The release that ends a hold clicks nothing.
    if (button == 1 && Holder() != nullptr) {
        EndHold(point != nullptr ? *point : m_heldAt);
        return true;
    }
    // A scene without a focus has its own meaning for clicks and presses nothing itself.
    return MouseUpToDialogs(point, button) || (TakesFocus() && PressAt(point));
}

bool PXEntity2DScene::OnMouseAux(const PXPoint* point, int value)
{
    return RouteToDialogs([&](PXSceneDialog& d) { return d.DialogMouseAux(point, value); });
}

bool PXEntity2DScene::OnMouseDown(const PXPoint* point, int button)
{
    if (RouteToDialogs([&](PXSceneDialog& d) { return d.DialogMouseDown(point, button); })) {
        return true;
    }
    return button == 1 && TakesFocus() && HoldAt(point);
}

bool PXEntity2DScene::OnKeyAux(int value)
{
    return RouteToDialogs([&](PXSceneDialog& d) { return d.DialogKeyAux(value); });
}

bool PXEntity2DScene::OnKeyDown(int key)
{
    return KeyToDialogs(key) || KeyToFocus(key);
}

bool PXEntity2DScene::OnKeyUp(int key)
{
    return RouteToDialogs([&](PXSceneDialog& d) { return d.DialogKeyUp(key); });
}

bool PXEntity2DScene::OnPadDown(int button)
{
    if (RouteToDialogs([&](PXSceneDialog& d) { return d.DialogPadDown(button); })) {
        return true;
    }
    return TakesFocus() && OnInputAction(g_inputMap.ForPad(PXInputContext::Menu, button));
}

bool PXEntity2DScene::OnPadUp(int /*button*/) { return false; }

bool PXEntity2DScene::OnPadRemoved(bool /*inUse*/) { return false; }

bool PXEntity2DScene::OnInputAction(PXInputAction action)
{
    const PXFocusGroup::Outcome outcome = m_focus.Act(action, ListenedElements());
    switch (outcome.result) {
    case PXActionResult::Pressed:
        OnElementPressed(outcome.element);
        return true;
    case PXActionResult::Used:
        return true;
    case PXActionResult::Ignored:
        break;
    }
    return action == PXInputAction::Back && OnBack();
}

bool PXEntity2DScene::OnElementPressed(PXEntity2DGUIElement* /*element*/)
{
    return false;
}

bool PXEntity2DScene::OnElementChanged(PXEntity2DGUIElement* /*element*/)
{
    return false;
}

bool PXEntity2DScene::OnBack()
{
    return false;
}

PXEntity2DGUIElement* PXEntity2DScene::GetShownFocus() const
{
    return m_focus.IsShown() ? m_focus.Focused() : nullptr;
}

bool PXEntity2DScene::SetCursorFrame(int frame)
{
    PXEntity2DGUIElement* cursor = SceneType()->GetCursorEntity();
    if (cursor == nullptr) {
        return false;
    }
    cursor->Invalidate();
    return cursor->SetAltProperty(PXSpriteProp::Frame, frame);
}

bool PXEntity2DScene::ShowCursor(bool visible)
{
    PXEntity2DGUIElement* cursor = SceneType()->GetCursorEntity();
    if (cursor == nullptr) {
        return false;
    }
    cursor->SetVisible(visible);
    return true;
}

void PXEntity2DScene::AddDialog(int32_t tag, std::unique_ptr<PXSceneDialog> dialog, PXDialogCallback callback,
                                void* userData, bool modal)
{
    if (dialog == nullptr) {
        return;
    }
    m_modal = m_modal || modal;
    dialog->Attach(tag, callback, userData, this);
    dialog->Invalidate();
    m_dialogs.push_front(std::move(dialog));
}

bool PXEntity2DScene::OnDialogClosed(PXSceneDialog* /*dialog*/)
{
    return true;
}

void PXEntity2DScene::OnDeactivate()
{
    if (Holder() != nullptr) {
        EndHold(m_heldAt);
    }
}

void PXEntity2DScene::CloseDialog(PXSceneDialog* dialog)
{
    auto found =
        std::find_if(m_dialogs.begin(), m_dialogs.end(),
                     [dialog](const std::unique_ptr<PXSceneDialog>& d) { return d.get() == dialog; });
    if (found == m_dialogs.end()) {
        return;
    }
    PXDialogCallback callback =
        dialog->GetCallback() != nullptr ? dialog->GetCallback() : DefaultDialogCallback;
    void* userData = dialog->GetUserData() != nullptr ? dialog->GetUserData() : this;
    if (!callback(userData, dialog)) {
        return;
    }
    // The callback may have closed or opened dialogs; find this one again.
    found = std::find_if(m_dialogs.begin(), m_dialogs.end(),
                         [dialog](const std::unique_ptr<PXSceneDialog>& d) { return d.get() == dialog; });
    if (found == m_dialogs.end()) {
        return;
    }
    dialog->Invalidate();
    m_closedDialogs.push_back(std::move(*found));
    m_dialogs.erase(found);
    if (m_dialogs.empty()) {
        m_modal = false;
    }
}

void PXEntity2DScene::ShowMessageBox(const std::string& text, int32_t tag, int32_t style,
                                     PXDialogCallback callback, void* userData)
{
    std::unique_ptr<PXSceneDialog> box = MakeMessageBox(SceneType()->GetMessageBoxRef(), text, style);
    if (box == nullptr) {
        return;
    }
    AddDialog(tag, std::move(box), callback != nullptr ? callback : DefaultDialogCallback, userData, true);
}

void PXEntity2DScene::ShowMessageBox(const std::string& text, int32_t tag, int32_t style,
                                     PXDialogCallback callback, void* userData, float durationMs)
{
    std::unique_ptr<PXSceneDialog> box = MakeMessageBox(SceneType()->GetMessageBoxRef(), text, style);
    if (box == nullptr) {
        return;
    }
    box->SetTimeout(durationMs);
    AddDialog(tag, std::move(box), callback != nullptr ? callback : DefaultDialogCallback, userData, true);
}

void PXEntity2DScene::ShowInputBox(const std::string& prompt, const std::string& defaultText,
                                   int32_t maxLength, int32_t tag, PXDialogCallback callback, void* userData)
{
    std::unique_ptr<PXSceneDialog> box =
        CreateDialog<PXSceneDialog>(SceneType()->GetInputBoxRef(), PXKind::InputBox);
    if (box == nullptr) {
        return;
    }
    box->SetPrompt(prompt);
    box->SetDefaultText(defaultText);
    box->SetMaxLength(maxLength);
    CentreDialog(*box);
    AddDialog(tag, std::move(box), callback != nullptr ? callback : DefaultDialogCallback, userData, true);
}

void PXSceneDialog::CloseWithResult(int32_t result)
{
    m_result = result;
    if (m_owner != nullptr) {
        m_owner->CloseDialog(this);
    }
}

PXEntity2DScene* PXEntity2DScene::FindDialogScene(uint32_t kind)
{
    for (auto it = m_dialogs.rbegin(); it != m_dialogs.rend(); ++it) {
        if ((*it)->GetType() == nullptr || !(*it)->GetType()->IsA(PXKind::DialogScene)) {
            continue;
        }
        PXEntity2DScene* inner = (*it)->GetInnerScene();
        if (inner != nullptr && inner->GetType() != nullptr && inner->GetType()->IsA(kind)) {
            return inner;
        }
    }
    return nullptr;
}

void PXEntity2DScene::ShowToolTip(PXEntity2DGUIElement* owner, int32_t x, int32_t y, const std::string& text)
{
    if (SceneType()->GetToolTipText() == nullptr) {
        return;
    }
    if (m_toolTip != nullptr && m_toolTip->owner == owner) {
        m_toolTip->remaining = ToolTipLifeMs;
        if (m_toolTip->text != text) {
            LayOutToolTip(*m_toolTip, x, y, text);
        }
        return;
    }
    if (m_toolTip != nullptr) {
        m_oldToolTip = std::move(m_toolTip);
    }
    m_toolTip = std::make_unique<PXToolTip>();
    m_toolTip->owner = owner;
    m_toolTip->alpha = 0.0f;
    m_toolTip->remaining = ToolTipLifeMs;
    LayOutToolTip(*m_toolTip, x, y, text);
}

void PXEntity2DScene::LayOutToolTip(PXToolTip& tip, int32_t x, int32_t y, const std::string& text)
{
    PXEntity2DGUIElement* label = SceneType()->GetToolTipText();
    // Where the text stood must be redrawn even when the new text is the same.
    label->Invalidate();
    tip.text = text;
    label->SetStringProperty(PXTextProp::Text, text);
    label->SetProperty(PXFontProp::Justify, 1);
    label->Update(0.0f);
    int32_t w = 0, h = 0;
    label->GetProperty(PXTextProp::Width, &w);
    label->GetProperty(PXTextProp::Height, &h);
    const int32_t screenW = g_screen != nullptr ? g_screen->GetWidth() : FrameWidth;
    const int32_t screenH = g_screen != nullptr ? g_screen->GetHeight() : FrameHeight;
    // The text sits 2 pixels inside its background on every side; the whole background stays
    // on the screen, so no letter is cut at the right or bottom edge.
    const int32_t px = std::max(std::min(x, screenW - (w + 4)), 0);
    const int32_t py = std::max(std::min(y, screenH - (h + 4)), 0);
    label->SetPosition({px + 2, py + 2});
    tip.rect = PXRect{px, px + w + 4, py, py + h + 4};
    label->SetAlpha(static_cast<int32_t>(tip.alpha));
}

bool PXEntity2DScene::ClickElement(const PXSceneElement& record, const PXPoint& point)
{
    return record.entity != nullptr && record.entity->Click(point);
}

void PXEntity2DScene::TypeIntoElement(const PXSceneElement& record, int character, std::string* text,
                                      int32_t maxLength)
{
    PXEntity2DGUIElement* element = record.entity.get();
    if (element == nullptr || text == nullptr) {
        return;
    }
    PXEntityBaseType* type = element->GetType();
    auto* editor = dynamic_cast<PXEntity2DGUIText*>(element);
    if (editor != nullptr && type != nullptr && (type->IsA(PXKind::Text) || type->IsA(PXKindCode("CMBO")))) {
        element->SetProperty(PXTextProp::MaxLength, maxLength);
        editor->OnTextKey(character);
        element->GetStringProperty(PXTextProp::GetText, text);
        return;
    }
    std::string current;
    element->GetStringProperty(PXTextProp::GetText, &current);
    if (character == KeyBackspace) {
        if (!current.empty()) {
            current.pop_back();
        }
    } else if (character >= 32 && character <= 126 && static_cast<int32_t>(current.size()) < maxLength) {
        current.push_back(static_cast<char>(character));
    }
    element->SetStringProperty(PXTextProp::Text, current);
    *text = current;
}
