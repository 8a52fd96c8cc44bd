#pragma once
// The "Image Operations" dialog: two pictures chosen with Browse and the
// operator that combines them; the result becomes the working copy.

#include <optional>
#include <string>
#include <vector>

class Desktop;

namespace image_operation_ids {
inline constexpr int dialog = 117;
inline constexpr int image_a = 1070;
inline constexpr int image_b = 1071;
inline constexpr int operator_box = 1072;
inline constexpr int browse_a = 1073;
inline constexpr int browse_b = 1074;
}  // namespace image_operation_ids

// The operation to run: A op B.
struct ImageOperation {
    std::string a;
    std::string b;
    std::string op;
};

// The operand paths chosen with Browse, kept for the whole run and shown
// when the dialog opens again.
struct ImageOperandPaths {
    std::string a;
    std::string b;
};

class ImageOperationForm {
public:
    ImageOperationForm(Desktop& desktop, ImageOperandPaths& kept, ImageOperation& operation);

    static const std::vector<std::string>& operators();  // "+", "-", "*", "/"

    // The dialog's controls: the fields show the kept paths.
    std::string a_text;
    std::string b_text;
    int operator_index = 1;  // into operators(); -1 for none

    void on_open();
    void on_browse_a();
    void on_browse_b();
    // The dialog's result, or nothing while it stays open (something was
    // missing: refused with a message).
    std::optional<int> on_ok();

private:
    Desktop& desktop_;
    ImageOperandPaths& kept_;
    ImageOperation& operation_;
};
