// Fixed-capacity, zero-terminated byte strings: every text field of the program has a documented
// size, and a longer value is cut to that size minus one instead of overrunning it.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

template <size_t N>
class FixedText {
    static_assert(N >= 1, "a text needs room for its terminating zero");

public:
    static constexpr size_t CAPACITY = N;

    FixedText() { text[0] = '\0'; }
    FixedText(const char* s) { Assign(s); }  // NOLINT: implicit on purpose, like a char array
    template <size_t M>
    FixedText(const FixedText<M>& other) { Assign(other.c_str()); }  // NOLINT

    FixedText& operator=(const char* s) { Assign(s); return *this; }
    template <size_t M>
    FixedText& operator=(const FixedText<M>& other) { Assign(other.c_str()); return *this; }

    // Copies at most N - 1 bytes of s (up to its terminating zero).
    void Assign(const char* s) { Assign(s, s ? strlen(s) : 0); }

    // Copies at most N - 1 of the first len bytes of s; stops early at a zero byte.
    void Assign(const char* s, size_t len)
    {
        size_t n = 0;
        if (s) {
            while (n < len && n < N - 1 && s[n] != '\0') {
                text[n] = s[n];
                ++n;
            }
        }
        text[n] = '\0';
    }

    void Append(const char* s)
    {
        size_t n = Length();
        if (!s) return;
        while (n < N - 1 && *s != '\0') text[n++] = *s++;
        text[n] = '\0';
    }

    void AppendChar(char c)
    {
        size_t n = Length();
        if (n < N - 1) {
            text[n] = c;
            text[n + 1] = '\0';
        }
    }

    // printf into the field; the result is cut to the field like any other assignment.
    void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)))
    {
        va_list args;
        va_start(args, fmt);
        vsnprintf(text, N, fmt, args);
        va_end(args);
    }

    // Keeps the first len bytes (no effect when the text is shorter).
    void Truncate(size_t len)
    {
        if (len < N && len < Length()) text[len] = '\0';
    }

    void Clear() { text[0] = '\0'; }
    bool Empty() const { return text[0] == '\0'; }
    size_t Length() const { return strlen(text); }
    const char* c_str() const { return text; }
    // Raw storage for calls that fill a caller's buffer; they must honour CAPACITY.
    char* Buffer() { return text; }
    char operator[](size_t i) const { return i < N ? text[i] : '\0'; }
    bool Equals(const char* s) const { return s && strcmp(text, s) == 0; }

private:
    char text[N];
};
