// The stamp a protocol module exports beside its entry function, telling which library headers
// it was built against. A module built against other headers may lay out the entry, its slots,
// reports or session records differently; calling into it would read and write through the
// wrong offsets. The library's loader reads the stamp before it calls anything in the module and
// refuses a module whose stamp differs from its own, or that has none.
//
// A module exports the stamp of the headers it includes:
//   extern "C" const ConnectModuleStamp RivodeConnectModuleStamp = kConnectModuleStamp;
#pragma once

#include <RivodeRavudaVU/ConnectConfig.h>
#include <RivodeRavudaVU/ConnectProtocolTable.h>
#include <RivodeRavudaVU/SessionConfig.h>
#include <RivodeRavudaVU/YProfile2.h>
#include <RivodeRavudaVU/YProfileData.h>
#include <RivodeRavudaVU/YReportMessageParams.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#pragma GCC visibility push(default)

// Two numbers, and only these two, in this order: a loader reads the stamp of modules built
// long before or after it, so the stamp's own layout never changes.
struct ConnectModuleStamp {
    // Raised with every change a module could trip over that sizes do not show: a virtual
    // function added to an interface, a slot or library function whose signature changed.
    std::uint32_t interfaceVersion;
    // The sizes and alignments of the types that cross between the library and a module,
    // folded together (FNV-1a), so that a changed layout is noticed without anyone raising
    // the version.
    std::uint32_t layout;
};

inline constexpr std::uint32_t kConnectModuleInterfaceVersion = 1;

constexpr std::uint32_t FoldConnectModuleLayout(std::initializer_list<std::size_t> sizes) {
    std::uint32_t hash = 2166136261u;
    for (const std::size_t size : sizes) {
        for (unsigned shift = 0; shift < 64; shift += 8) {
            hash = (hash ^ static_cast<std::uint32_t>((static_cast<std::uint64_t>(size) >> shift) &
                                                      0xffu)) *
                   16777619u;
        }
    }
    return hash;
}

inline constexpr ConnectModuleStamp kConnectModuleStamp = {
    kConnectModuleInterfaceVersion,
    FoldConnectModuleLayout({sizeof(ConnectProtocolEntry), alignof(ConnectProtocolEntry),
                             sizeof(ConnectProtocolFunctions), ConnectProtocolFunctions::kSlotCount,
                             sizeof(YAppFnTable), sizeof(YReportMessageParams),
                             sizeof(YUnicodeString), sizeof(ConnectConfig), sizeof(SessionConfig),
                             alignof(SessionConfig), sizeof(YProfileData), sizeof(YProfileString)}),
};

// The name under which a module exports its ConnectModuleStamp.
inline constexpr const char* kConnectModuleStampName = "RivodeConnectModuleStamp";

#pragma GCC visibility pop
