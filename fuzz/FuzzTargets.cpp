#include "fuzz/FuzzTargets.h"

#include <iterator>

#include "fuzz/ChemicalDatabaseTarget.h"
#include "fuzz/ConfigLoaderTarget.h"
#include "fuzz/ReplyCheckTarget.h"
#include "fuzz/SimRequestTarget.h"

namespace fuzz {
namespace {

const Target kTargets[] = {
    {"reply_check", CheckReplyInput},
    {"config_loader", CheckConfigInput},
    {"chemical_database", CheckDatabaseInput},
    {"sim_request", CheckSimRequestInput},
};

}  // namespace

const Target* Targets(size_t& count) {
    count = std::size(kTargets);
    return kTargets;
}

}  // namespace fuzz
