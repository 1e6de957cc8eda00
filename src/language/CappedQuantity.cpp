// The capping of written token quantities.
#include "language/CappedQuantity.h"

#include <string>

#include "foundation/GraphLimits.h"
#include "language/ReaderReports.h"
#include "language/ScannerState.h"

int CappedTokenQuantity(int quantity)
{
    if (quantity <= static_cast<int>(kLargestQuantity)) return quantity;
    if (RunLimits.cappedCounts == GrowthCheck::Stop)
        YaccError("token quantity above 65535, the largest count");
    if (RunLimits.cappedCounts == GrowthCheck::Warn)
        PrintGraphWarning("token quantity " + std::to_string(quantity) + " in line " +
                              std::to_string(lcount) + " is read as 65535, the largest count",
                          false);
    return kLargestQuantity;
}
