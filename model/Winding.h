// The points of a face's winding. Nearly every face of a map has eight points or fewer: they are
// kept inside the face itself, so that reading a map of thousands of faces makes no heap block
// per winding; a face with more points keeps them in one heap block. The interface is the part
// of std::vector that the brushes and the views use.
#pragma once
#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

template <class T, size_t N> class CInlineArray
{
    static_assert(std::is_trivially_copyable<T>::value && std::is_trivially_destructible<T>::value,
                  "points are copied as they are and never destroyed one by one");

public:
    // The inline room is left as it is: each point is made when it is stored (a map's load makes
    // tens of thousands of faces, and clearing room that the points then overwrite cost time).
    CInlineArray() {}
    CInlineArray(const CInlineArray& other) { assign(other.begin(), other.end()); }
    CInlineArray& operator=(const CInlineArray& other)
    {
        if (this != &other)
            assign(other.begin(), other.end());
        return *this;
    }
    ~CInlineArray() = default;

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T* data() { return m_heap ? m_heap.get() : m_inline; }
    const T* data() const { return m_heap ? m_heap.get() : m_inline; }
    T& operator[](size_t i) { return data()[i]; }
    const T& operator[](size_t i) const { return data()[i]; }
    T* begin() { return data(); }
    T* end() { return data() + m_size; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + m_size; }

    void clear() { m_size = 0; }
    // New points are value-initialised, as std::vector's are; the points kept stay in place.
    void resize(size_t n)
    {
        Reserve(n);
        T* d = data();
        for (size_t k = m_size; k < n; ++k)
            new (d + k) T();
        m_size = n;
    }
    // Room for n elements that the caller then writes (the ones kept stay as they are): no value
    // is made first, as resize makes one. For text copied in whole.
    T* resize_for_overwrite(size_t n)
    {
        Reserve(n);
        m_size = n;
        return data();
    }
    template <class It> void assign(It first, It last)
    {
        const size_t n = static_cast<size_t>(last - first);
        Reserve(n);
        T* d = data();
        for (size_t k = 0; k < n; ++k, ++first)
            new (d + k) T(*first);
        m_size = n;
    }
    void push_back(const T& v)
    {
        if (m_size == Capacity()) {
            T copy = v; // v may be one of the points moved by the growth
            Reserve(m_size * 2);
            new (data() + m_size++) T(copy);
            return;
        }
        new (data() + m_size++) T(v);
    }

private:
    size_t Capacity() const { return m_heap ? m_capacity : N; }
    // Room for n points; the points held are kept. Storage only grows, so that pointers to the
    // points (handle picks, vertex lists) stay good while the winding is rebuilt in place.
    void Reserve(size_t n)
    {
        if (n <= Capacity())
            return;
        std::unique_ptr<T[]> block(new T[n]);
        std::copy(begin(), end(), block.get());
        m_heap = std::move(block);
        m_capacity = n;
    }

    std::unique_ptr<T[]> m_heap;
    size_t m_size = 0;
    size_t m_capacity = 0;
    union {
        T m_inline[N]; // points [0, m_size) are made, the rest is room
    };
};
