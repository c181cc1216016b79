// Maps from window-system handles to the framework objects wrapping them, kept per thread.
//
// The permanent map holds the objects the program attached; FromHandle answers one of those, or else a
// temporary object the map owns until the next idle cleanup (AfxDeleteTempMaps). Temporary objects are
// kept per requested type, so asking for the same handle as a base and as a derived wrapper never hands out
// an object of the wrong type.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <typeindex>
#include <unordered_map>
#include <utility>

template <class Obj, class H>
class CHandleMap {
public:
    // `detach` clears an object's handle before a temporary is deleted, so it does not release the handle.
    explicit CHandleMap(std::function<void(Obj*)> detach) : m_detach(std::move(detach)) {}
    CHandleMap(const CHandleMap&) = delete;
    CHandleMap& operator=(const CHandleMap&) = delete;
    ~CHandleMap() { DeleteTemp(); }

    Obj* LookupPermanent(H h) const {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }
    void SetPermanent(H h, Obj* object) { m_permanent[h] = object; }
    void RemovePermanent(H h, Obj* object) {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == object) {
            m_permanent.erase(it);
        }
    }

    template <class T>
    T* LookupTemporary(H h) const {
        auto it = m_temporary.find({h, std::type_index(typeid(T))});
        return it == m_temporary.end() ? nullptr : static_cast<T*>(it->second.get());
    }
    template <class T>
    T* MakeTemporary(H h, std::unique_ptr<T> object) {
        T* raw = object.get();
        m_temporary[{h, std::type_index(typeid(T))}] = std::move(object);
        return raw;
    }
    bool IsTemporary(const Obj* object) const {
        for (const auto& entry : m_temporary) {
            if (entry.second.get() == object) {
                return true;
            }
        }
        return false;
    }
    void DeleteTemp() {
        auto temporaries = std::move(m_temporary);
        m_temporary.clear();
        for (auto& entry : temporaries) {
            m_detach(entry.second.get());
        }
    }
    size_t TemporaryCount() const { return m_temporary.size(); }

private:
    std::function<void(Obj*)> m_detach;
    std::unordered_map<H, Obj*> m_permanent;
    std::map<std::pair<H, std::type_index>, std::unique_ptr<Obj>> m_temporary;
};

// The calling thread's map for one kind of object; null once the thread's storage is being torn down
// (wrappers destroyed after that, such as globals at exit, simply skip the map).
template <class Obj, class H>
CHandleMap<Obj, H>* AfxThreadHandleMap(void (*detach)(Obj*)) {
    thread_local bool gone = false;
    struct Holder {
        Holder(void (*d)(Obj*), bool* f) : map(d), flag(f) {}
        ~Holder() { *flag = true; }
        CHandleMap<Obj, H> map;
        bool* flag;
    };
    if (gone) {
        return nullptr;
    }
    thread_local Holder holder(detach, &gone);
    return &holder.map;
}
