#pragma once

#include "forms/error.h"

namespace kxbutton_detail {

// Runs one step of a routine that must go on after a failure (the layout and the picture
// preparation): a run-time error ends only this step.
template <typename Step> void attempt(Step&& step) {
    try {
        step();
    } catch (const forms::RuntimeError&) {
    }
}

} // namespace kxbutton_detail
