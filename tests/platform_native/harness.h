// A small test harness for programs that cannot use Qt Test (the cross-built
// Windows tests). Tests register themselves with TEST; CHECK and CHECK_EQ
// report each failing check with its place, the values and the current row;
// runAll() prints "N passed, M failed" (tests) and returns the exit code.
#pragma once

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace harness {

struct Test {
    const char *name;
    void (*run)();
};

inline std::vector<Test> &registry()
{
    static std::vector<Test> tests;
    return tests;
}

struct Register {
    Register(const char *name, void (*run)()) { registry().push_back({name, run}); }
};

inline int failedChecks = 0;        // in the test that is running
inline std::string currentTest;
inline std::string currentRow;      // the data row being checked, if any

// Names the data row that the following checks belong to, while it lives.
class Row {
public:
    explicit Row(std::string name) { currentRow = std::move(name); }
    ~Row() { currentRow.clear(); }
    Row(const Row &) = delete;
    Row &operator=(const Row &) = delete;
};

inline std::string describe(const std::string &s) { return '"' + s + '"'; }
inline std::string describe(const char *s) { return describe(std::string(s)); }
inline std::string describe(bool b) { return b ? "true" : "false"; }

template <typename T>
std::string describe(const T &value);
template <typename T>
std::string describe(const std::optional<T> &value);
template <typename T>
std::string describe(const std::vector<T> &values);

template <typename T>
std::string describe(const std::optional<T> &value)
{
    return value ? describe(*value) : std::string("(none)");
}

template <typename T>
std::string describe(const std::vector<T> &values)
{
    std::string out = "{";
    for (size_t i = 0; i < values.size(); ++i)
        out += (i ? ", " : "") + describe(values[i]);
    return out + "}";
}

template <typename T>
std::string describe(const T &value)
{
    std::ostringstream out;
    if constexpr (std::is_enum_v<T>)
        out << static_cast<long long>(value);
    else
        out << value;
    return out.str();
}

inline void fail(const char *file, int line, const std::string &what)
{
    ++failedChecks;
    std::printf("  FAIL %s:%d: %s%s\n", file, line, what.c_str(),
                currentRow.empty() ? "" : ("  [row: " + currentRow + "]").c_str());
}

inline bool check(bool ok, const char *expression, const char *file, int line)
{
    if (!ok)
        fail(file, line, expression);
    return ok;
}

template <typename A, typename B>
bool checkEqual(const A &actual, const B &expected, const char *actualText, const char *expectedText,
                const char *file, int line)
{
    const bool ok = actual == expected;
    if (!ok)
        fail(file, line,
             std::string(actualText) + " == " + expectedText + "\n    actual:   " + describe(actual) +
                 "\n    expected: " + describe(expected));
    return ok;
}

inline int runAll()
{
    int passed = 0;
    int failed = 0;
    for (const Test &test : registry()) {
        currentTest = test.name;
        failedChecks = 0;
        std::printf("%s\n", test.name);
        std::fflush(stdout);
        test.run();
        if (failedChecks == 0) {
            ++passed;
        } else {
            ++failed;
            std::printf("FAILED: %s\n", test.name);
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}

} // namespace harness

#define HARNESS_CONCAT2(a, b) a##b
#define HARNESS_CONCAT(a, b) HARNESS_CONCAT2(a, b)
#define TEST(name)                                                        \
    static void name();                                                   \
    static harness::Register HARNESS_CONCAT(register_, name)(#name, name); \
    static void name()
#define CHECK(condition) harness::check(static_cast<bool>(condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) harness::checkEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)
