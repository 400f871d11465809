#include "outputs.h"

#include <ostream>

namespace ferrow {

void Outputs::print(std::string_view text) {
    console.write(text.data(), static_cast<std::streamsize>(text.size()));
    console.flush();
}

} // namespace ferrow
