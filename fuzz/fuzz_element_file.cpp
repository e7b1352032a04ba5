// Fuzz target: the application's element-file reader (build_list_of_elem) on arbitrary bytes. A
// file it accepts must give finite positions, one element per pair of numbers.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include "build_list_of_elem.h"
#include "shared_params.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::string path = [] {
        char pattern[] = "/tmp/kormax_fuzz_elements_XXXXXX";
        const char *made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp") + "/elements.txt";
    }();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    if (build_list_of_elem(QString::fromStdString(path))) {
        if (shared::Elem.empty())
            std::abort();
        for (const VDOUB &e : shared::Elem)
            if (e.size() < 2 || !std::isfinite(e[0]) || !std::isfinite(e[1]))
                std::abort();
    }
    return 0;
}
