#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace quomble {

// A text of at most K characters stored inline, so a million records cost no heap strings.
// Assigning a longer text keeps its first K characters.
template <std::size_t K>
class FixedText {
    static_assert(K > 0 && K <= 255, "capacity must fit the 8-bit length");

public:
    static constexpr std::size_t capacity = K;

    FixedText() = default;
    FixedText(std::string_view text) { assign(text); }  // NOLINT: implicit like a string

    void assign(std::string_view text)
    {
        size_ = static_cast<std::uint8_t>(std::min(text.size(), K));
        if (size_ > 0)
            std::memcpy(chars_.data(), text.data(), size_);
    }
    FixedText& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }
    void clear() { size_ = 0; }

    std::string_view view() const { return {chars_.data(), size_}; }
    std::string str() const { return std::string(view()); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
    friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }

private:
    std::array<char, K> chars_{};
    std::uint8_t size_ = 0;
};

}  // namespace quomble
