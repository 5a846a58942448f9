#pragma once
// Numeric and collection conventions of the engineering code: banker's
// rounding, truncation toward zero, extended-precision intermediates and
// fixed-capacity 1-based arrays with a count.

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaran {

using Extended = long double;

// Rounds half to even, as the stored results and displayed values expect
// (Round(2.5) = 2, Round(3.5) = 4, Round(-2.5) = -2).
// A whole value beyond the result's range gives the nearest end of it, and
// one that is not a number gives 0, instead of undefined behaviour.
inline std::int64_t ToInt64Saturated(long double whole)
{
    if (std::isnan(whole))
        return 0;
    if (whole >= 9223372036854775807.0L)
        return INT64_MAX;
    if (whole <= -9223372036854775808.0L)
        return INT64_MIN;
    return static_cast<std::int64_t>(whole);
}

inline std::int64_t Round(long double value) { return ToInt64Saturated(std::nearbyintl(value)); }

// Truncates toward zero.
inline std::int64_t Trunc(long double value) { return ToInt64Saturated(std::truncl(value)); }

inline long double Frac(long double value) { return value - std::truncl(value); }

// Integer division and remainder truncating toward zero (as C++ already does;
// named so ported formulas read the same).
inline std::int64_t Div(std::int64_t a, std::int64_t b) { return a / b; }
inline std::int64_t Mod(std::int64_t a, std::int64_t b) { return a % b; }

inline long double Sqr(long double x) { return x * x; }

// Raised when a 1-based index lies outside 1..Count or a capacity is exceeded.
class ERangeError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// A fixed-capacity array addressed 1..Capacity, sized once by its owner.
// There is no growth: Add past the capacity raises ERangeError.
template <typename T>
class OneBasedArray {
public:
    OneBasedArray() = default;
    explicit OneBasedArray(int capacity) { SetCapacity(capacity); }

    void SetCapacity(int capacity)
    {
        if (capacity < 0)
            throw ERangeError("OneBasedArray: negative capacity");
        items_.assign(static_cast<std::size_t>(capacity), T{});
        Count = 0;
    }
    int Capacity() const { return static_cast<int>(items_.size()); }

    T &operator[](int index) { return items_.at(checked(index)); }
    const T &operator[](int index) const { return items_.at(checked(index)); }

    // Appends after the last used entry; returns the new entry's index.
    int Add(const T &value)
    {
        if (Count >= Capacity())
            throw ERangeError("OneBasedArray: capacity exceeded");
        items_[static_cast<std::size_t>(Count)] = value;
        return ++Count;
    }
    // Removes entry index, moving later entries down to close the gap.
    void Delete(int index)
    {
        if (index < 1 || index > Count)
            throw ERangeError("OneBasedArray: index out of range");
        for (int i = index; i < Count; ++i)
            items_[static_cast<std::size_t>(i - 1)] = items_[static_cast<std::size_t>(i)];
        items_[static_cast<std::size_t>(Count - 1)] = T{};
        --Count;
    }
    void Clear()
    {
        for (auto &item : items_)
            item = T{};
        Count = 0;
    }

    int Count = 0;

private:
    std::size_t checked(int index) const
    {
        if (index < 1 || index > Capacity())
            throw ERangeError("OneBasedArray: index " + std::to_string(index) + " outside 1.." +
                              std::to_string(Capacity()));
        return static_cast<std::size_t>(index - 1);
    }
    std::vector<T> items_;
};

// Version texts ("1.15" .. "7.40") are compared as character strings, so
// "6.44" is greater than "6.4" and "7.4" is less than "7.40".
inline bool VersionAtLeast(const std::string &version, const std::string &gate) { return version >= gate; }
inline bool VersionBelow(const std::string &version, const std::string &gate) { return version < gate; }

} // namespace tessaran
