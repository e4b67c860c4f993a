#include "loggen.h"

#include <sstream>

namespace quomble::bench {

void writeLog(std::ostream&, const LogGenOptions&) {}

std::string generateLog(const LogGenOptions& options)
{
    std::ostringstream out;
    writeLog(out, options);
    return out.str();
}

}  // namespace quomble::bench
