// Reference counting: ShapeRCObject, the base of every shared object of the model, and PPTPtr,
// the smart pointer through which the host and the library hold them.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "quorv/export.h"

namespace Quorv {

// The kind of a counted object; containers pick out pictures and tables by it.
enum ObjType : int {
    OT_None = 0,
    OT_Slides = 1,
    OT_TextFrame = 2,
    OT_Picture = 3,
    OT_Table = 4,
    OT_Line = 6,
    OT_Rectangle = 7,
    OT_PolyLine = 8,
};

// Intrusive reference count and type tag. The count is a plain integer: the objects of one
// document are used from one thread at a time (different documents may live on different threads).
class QUORV_EXPORT ShapeRCObject {
public:
    int addRef() const noexcept { return ++refCount_; }
    // Decrements the count without ever deleting the object.
    int removeRef() const noexcept { return --refCount_; }
    // Decrements the count and deletes the object when it reaches 0 or less.
    int release() const noexcept;
    int getRefCount() const noexcept { return refCount_; }

    bool isA(ObjType t) const noexcept { return type_ == t; }
    ObjType getObjType() const noexcept { return type_; }
    static ObjType getStaticType() noexcept { return OT_None; }

protected:
    ShapeRCObject() noexcept = default;
    // A copy is a new object: its count starts at 0 and its type is set by the copying class.
    ShapeRCObject(const ShapeRCObject&) noexcept : refCount_(0), type_(OT_None) {}
    ShapeRCObject& operator=(const ShapeRCObject&) noexcept { return *this; }
    virtual ~ShapeRCObject();

    void setObjType(ObjType t) noexcept { type_ = t; }

private:
    mutable int refCount_ = 0;
    ObjType type_ = OT_None;
};

// Smart pointer holding one reference to a ShapeRCObject (or a class derived from it).
template <class T>
class PPTPtr {
public:
    PPTPtr() noexcept = default;
    PPTPtr(std::nullptr_t) noexcept {} // NOLINT
    // Takes the pointer; adds a reference when addRef is true (a new object then has count 1).
    PPTPtr(T* p, bool addRef = true) noexcept : p_(p) { // NOLINT: built from new objects
        if (p_ && addRef) p_->addRef();
    }
    PPTPtr(const PPTPtr& other) noexcept : p_(other.p_) {
        if (p_) p_->addRef();
    }
    PPTPtr(PPTPtr&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    template <class U, class = std::enable_if_t<std::is_convertible<U*, T*>::value>>
    PPTPtr(const PPTPtr<U>& other) noexcept : p_(other.get()) { // NOLINT: upcast
        if (p_) p_->addRef();
    }
    ~PPTPtr() { reset(); }

    PPTPtr& operator=(const PPTPtr& other) noexcept { return assign(other.p_); }
    PPTPtr& operator=(PPTPtr&& other) noexcept {
        if (this != &other) {
            T* old = p_;
            p_ = other.p_;
            other.p_ = nullptr;
            if (old) old->release();
        }
        return *this;
    }
    template <class U, class = std::enable_if_t<std::is_convertible<U*, T*>::value>>
    PPTPtr& operator=(const PPTPtr<U>& other) noexcept {
        return assign(other.get());
    }
    PPTPtr& operator=(T* p) noexcept { return assign(p); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // Releases the reference and holds nothing.
    void reset() noexcept {
        T* old = p_;
        p_ = nullptr;
        if (old) old->release();
    }

private:
    PPTPtr& assign(T* p) noexcept {
        if (p == p_) return *this;
        if (p) p->addRef();
        T* old = p_;
        p_ = p;
        if (old) old->release();
        return *this;
    }

    T* p_ = nullptr;
};

template <class T, class U>
bool operator==(const PPTPtr<T>& a, const PPTPtr<U>& b) noexcept {
    return a.get() == b.get();
}
template <class T, class U>
bool operator!=(const PPTPtr<T>& a, const PPTPtr<U>& b) noexcept {
    return a.get() != b.get();
}

} // namespace Quorv
