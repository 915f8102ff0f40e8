// doctest, with the standard types our checks compare printed in a failure:
// an empty optional as "(none)", a vector as "{a, b}", text in quotes, and a
// row's name (const char *) as its text rather than its address.
#pragma once

#include <doctest/doctest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace doctest {

namespace detail {
template <>
struct filldata<const char *> {
    static void fill(std::ostream *stream, const char *in) { *stream << (in ? in : "(null)"); }
};
template <>
struct filldata<char *> {
    static void fill(std::ostream *stream, const char *in) { *stream << (in ? in : "(null)"); }
};
} // namespace detail

template <typename T>
struct StringMaker<std::optional<T>> {
    static String convert(const std::optional<T> &value)
    {
        return value ? toString(*value) : String("(none)");
    }
};

template <typename T>
struct StringMaker<std::vector<T>> {
    static String convert(const std::vector<T> &values)
    {
        String out = "{";
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i)
                out += ", ";
            out += toString(values[i]);
        }
        return out + "}";
    }
};

template <>
struct StringMaker<std::string> {
    static String convert(const std::string &text)
    {
        // Zero bytes shown, since a name cut at one is what several checks are about.
        std::string shown = "\"";
        for (const char c : text)
            shown += c == '\0' ? std::string("\\0") : std::string(1, c);
        return String((shown + '"').c_str());
    }
};

} // namespace doctest
