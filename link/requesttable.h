// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the exchange cycle still has to do for one entry of the request table.
enum class RequestState {
    None = 0,
    Read = 1,
    Write = 2,
};
