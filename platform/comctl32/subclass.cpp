// Window subclassing through COMCTL32: a chain of subclass procedures in front of a window's own
// procedure, each told its id and reference data, each passing a message on with DefSubclassProc.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace {

// The property that marks a window with a chain, under the name the platform gives it.
constexpr WCHAR kChainProperty[] = L"CC32SubclassInfo";

// One subclass in a window's chain. A removed link keeps its successor, so a procedure that
// removes itself (or is removed) while it runs still passes the message on.
struct Link {
    SUBCLASSPROC procedure;
    UINT_PTR id;
    DWORD_PTR data;
    std::shared_ptr<Link> next;
    bool removed = false;
};

// A subclassed window: its chain, newest first, and the procedure the chain ends in.
struct Chain {
    std::shared_ptr<Link> first;
    WNDPROC original = nullptr;
    bool unicode = true; // the window's character set when the chain was put in front of it
};

// A message on its way down a window's chain: DefSubclassProc passes it from `at` to the next
// link. Messages sent while one is on its way nest, so the latest one for the window is current.
struct Delivery {
    HWND hwnd;
    std::shared_ptr<Link> at;
    WNDPROC original;
    bool unicode;
};

std::map<HWND, Chain> &Chains()
{
    static std::map<HWND, Chain> chains;
    return chains;
}

std::vector<Delivery> &Deliveries()
{
    static std::vector<Delivery> deliveries;
    return deliveries;
}

// The place of the latest message on its way down the window's chain, if any.
std::optional<size_t> LatestDelivery(HWND hwnd)
{
    for (size_t index = Deliveries().size(); index > 0; --index) {
        if (Deliveries()[index - 1].hwnd == hwnd) {
            return index - 1;
        }
    }
    return std::nullopt;
}

std::shared_ptr<Link> FirstStanding(std::shared_ptr<Link> link)
{
    while (link != nullptr && link->removed) {
        link = link->next;
    }
    return link;
}

std::shared_ptr<Link> Find(const Chain &chain, SUBCLASSPROC procedure, UINT_PTR id)
{
    for (std::shared_ptr<Link> link = chain.first; link != nullptr; link = link->next) {
        if (link->procedure == procedure && link->id == id) {
            return link;
        }
    }
    return nullptr;
}

LRESULT CallOriginal(const Delivery &delivery, UINT message, WPARAM wParam, LPARAM lParam)
{
    return delivery.unicode ? CallWindowProcW(delivery.original, delivery.hwnd, message, wParam, lParam)
                            : CallWindowProcA(delivery.original, delivery.hwnd, message, wParam, lParam);
}

WNDPROC SetProcedure(HWND hwnd, bool unicode, WNDPROC procedure)
{
    const auto value = reinterpret_cast<LONG_PTR>(procedure);
    return reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, value)
                                             : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, value));
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// An empty chain gives the window its own procedure back, unless someone has replaced the
// chain's procedure since, who still calls it: then the chain stays, empty, and passes straight on.
void DropIfEmpty(HWND hwnd)
{
    const auto found = Chains().find(hwnd);
    if (found == Chains().end() || FirstStanding(found->second.first) != nullptr) {
        return;
    }
    const Chain &chain = found->second;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == ChainProc) {
        SetProcedure(hwnd, chain.unicode, chain.original);
        RemovePropW(hwnd, kChainProperty);
        Chains().erase(found);
    }
}

// Every subclassed window's procedure: the message enters the chain at its newest link. When the
// window is gone its chain goes too.
LRESULT CALLBACK ChainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto found = Chains().find(hwnd);
    if (found == Chains().end()) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const Chain &chain = found->second;
    const std::shared_ptr<Link> first = FirstStanding(chain.first);
    const Delivery delivery = {hwnd, first, chain.original, chain.unicode};
    Deliveries().push_back(delivery);
    const LRESULT result = first != nullptr
                               ? first->procedure(hwnd, message, wParam, lParam, first->id, first->data)
                               : CallOriginal(delivery, message, wParam, lParam);
    Deliveries().pop_back();
    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, kChainProperty);
        Chains().erase(hwnd);
    } else if (!LatestDelivery(hwnd)) {
        DropIfEmpty(hwnd);
    }
    return result;
}

} // namespace

BOOL WINAPI SetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass, DWORD_PTR dwRefData)
{
    if (!IsWindow(hWnd) || pfnSubclass == nullptr) {
        return FALSE;
    }
    auto found = Chains().find(hWnd);
    if (found == Chains().end()) {
        const bool unicode = IsWindowUnicode(hWnd) != FALSE;
        Chain chain;
        chain.unicode = unicode;
        chain.original = SetProcedure(hWnd, unicode, ChainProc);
        found = Chains().emplace(hWnd, chain).first;
        SetPropW(hWnd, kChainProperty, reinterpret_cast<HANDLE>(&found->second));
    }
    Chain &chain = found->second;
    if (const std::shared_ptr<Link> link = Find(chain, pfnSubclass, uIdSubclass)) {
        link->data = dwRefData;
        return TRUE;
    }
    chain.first = std::make_shared<Link>(Link{pfnSubclass, uIdSubclass, dwRefData, chain.first});
    return TRUE;
}

BOOL WINAPI GetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass,
                              DWORD_PTR *pdwRefData)
{
    const auto found = Chains().find(hWnd);
    const std::shared_ptr<Link> link =
        found != Chains().end() ? Find(found->second, pfnSubclass, uIdSubclass) : nullptr;
    if (pdwRefData != nullptr) {
        *pdwRefData = link != nullptr ? link->data : 0;
    }
    return link != nullptr;
}

BOOL WINAPI RemoveWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass)
{
    const auto found = Chains().find(hWnd);
    if (found == Chains().end()) {
        return FALSE;
    }
    Chain &chain = found->second;
    std::shared_ptr<Link> *place = &chain.first;
    while (*place != nullptr && ((*place)->procedure != pfnSubclass || (*place)->id != uIdSubclass)) {
        place = &(*place)->next;
    }
    if (*place == nullptr) {
        return FALSE;
    }
    const std::shared_ptr<Link> link = *place;
    link->removed = true;
    *place = link->next;
    // While a message is on its way the chain's procedure must stay; the last one out drops it.
    if (!LatestDelivery(hWnd)) {
        DropIfEmpty(hWnd);
    }
    return TRUE;
}

LRESULT WINAPI DefSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const std::optional<size_t> latest = LatestDelivery(hWnd);
    if (!latest) {
        return 0;
    }
    // Nested messages may move the deliveries: this one is used by its place, and only before the call.
    Delivery &delivery = Deliveries()[*latest];
    const std::shared_ptr<Link> next = delivery.at != nullptr ? FirstStanding(delivery.at->next) : nullptr;
    if (next == nullptr) {
        return CallOriginal(delivery, uMsg, wParam, lParam);
    }
    delivery.at = next;
    return next->procedure(hWnd, uMsg, wParam, lParam, next->id, next->data);
}
