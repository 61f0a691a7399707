// Stands in for VSTGUI's base definitions (vstgui/lib/vstguibase.h): coordinates, string pointers and reference counting.
#pragma once

#include <cstdint>
#include <utility>

namespace VSTGUI {

using CCoord = double;
using UTF8StringPtr = const char*;
using IdStringPtr = const char*;

class IReference
{
public:
	virtual ~IReference () noexcept = default;
	virtual void remember () = 0;
	virtual void forget () = 0;
};

/** Reference-counted object: created with one reference, deleted when the last one is forgotten. */
class CBaseObject : public IReference
{
public:
	CBaseObject () = default;
	// A copy is a new object and starts with its own single reference.
	CBaseObject (const CBaseObject&) {}
	CBaseObject& operator= (const CBaseObject&) { return *this; }

	void remember () override { ++nbReference; }
	void forget () override
	{
		if (--nbReference == 0)
		{
			beforeDelete ();
			delete this;
		}
	}
	int32_t getNbReference () const { return nbReference; }

protected:
	virtual void beforeDelete () {}

private:
	int32_t nbReference {1};
};

/** Smart pointer holding one reference to a CBaseObject (or any IReference). */
template <class T>
class SharedPointer
{
public:
	SharedPointer () noexcept = default;
	SharedPointer (T* p, bool remember = true) noexcept : ptr (p)
	{
		if (ptr && remember)
			ptr->remember ();
	}
	SharedPointer (const SharedPointer& other) noexcept : SharedPointer (other.ptr) {}
	template <class U>
	SharedPointer (const SharedPointer<U>& other) noexcept : SharedPointer (other.get ())
	{
	}
	SharedPointer (SharedPointer&& other) noexcept : ptr (std::exchange (other.ptr, nullptr)) {}
	~SharedPointer () noexcept
	{
		if (ptr)
			ptr->forget ();
	}

	SharedPointer& operator= (T* p) noexcept
	{
		if (p != ptr)
		{
			if (p)
				p->remember ();
			T* old = std::exchange (ptr, p);
			if (old)
				old->forget ();
		}
		return *this;
	}
	SharedPointer& operator= (const SharedPointer& other) noexcept { return *this = other.ptr; }
	SharedPointer& operator= (SharedPointer&& other) noexcept
	{
		if (this != &other)
		{
			T* old = std::exchange (ptr, std::exchange (other.ptr, nullptr));
			if (old)
				old->forget ();
		}
		return *this;
	}

	T* get () const noexcept { return ptr; }
	operator T* () const noexcept { return ptr; }
	T* operator-> () const noexcept { return ptr; }
	T& operator* () const noexcept { return *ptr; }

private:
	T* ptr {nullptr};
};

/** Takes over the reference the caller already holds. */
template <class T>
SharedPointer<T> owned (T* p) noexcept
{
	return SharedPointer<T> (p, false);
}

/** Adds a reference of its own. */
template <class T>
SharedPointer<T> shared (T* p) noexcept
{
	return SharedPointer<T> (p, true);
}

template <class T, class... Args>
SharedPointer<T> makeOwned (Args&&... args)
{
	return owned (new T (std::forward<Args> (args)...));
}

} // namespace VSTGUI
