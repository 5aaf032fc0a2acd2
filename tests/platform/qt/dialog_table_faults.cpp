// Tables that must not build: each TABLE_FAULT number compiles one fault, and the test that
// builds it passes only when the compiler names the rule the table breaks.
#include "platform/qt/DialogTemplate.h"

namespace tv {
namespace {

using Kind = ControlSpec::Kind;

struct Controls {
    QLabel* label = nullptr;
    QLineEdit* edit = nullptr;
    QPushButton* button = nullptr;
};

#if TABLE_FAULT == 1
// An edit row that fills a button field.
[[maybe_unused]] constexpr auto table = controlTable<Controls>({
    {Kind::Label, "Name:", 7, 8, 22, 10, &Controls::label},
    {Kind::Edit, "", 33, 7, 136, 12, &Controls::button},
    {Kind::Button, "OK", 41, 71, 32, 14, &Controls::button},
});
#elif TABLE_FAULT == 2
// Two rows fill the edit field.
[[maybe_unused]] constexpr auto table = controlTable<Controls>({
    {Kind::Label, "Name:", 7, 8, 22, 10, &Controls::label},
    {Kind::Edit, "", 33, 7, 136, 12, &Controls::edit},
    {Kind::RightEdit, "", 33, 21, 43, 12, &Controls::edit},
});
#elif TABLE_FAULT == 3
// A row without its field.
[[maybe_unused]] constexpr auto table = controlTable<Controls>({
    {Kind::Label, "Name:", 7, 8, 22, 10, &Controls::label},
    {Kind::Edit, "", 33, 7, 136, 12, &Controls::edit},
    {Kind::Button, "OK", 41, 71, 32, 14, {}},
});
#elif TABLE_FAULT == 4
// A field that no row fills.
[[maybe_unused]] constexpr auto table = controlTable<Controls>({
    {Kind::Label, "Name:", 7, 8, 22, 10, &Controls::label},
    {Kind::Edit, "", 33, 7, 136, 12, &Controls::edit},
});
#endif

}  // namespace
}  // namespace tv
