#include "GraphGeneration.h"

#include "GraphInspection.h"
#include "statespace/Activation.h"
#include "statespace/CreateRRG.h"
#include "statespace/InterningPipeline.h"

std::vector<std::string> GenerateGraph(const std::function<std::vector<Place*>(TestNet&)>& build,
                                       const ExplorationSettings& settings)
{
    const ExplorationSettings defaults;
    AllowExplorationWhenFired(settings.whenFired);
    AllowInterningThread(settings.helper);
    ShareExplorationInBatchesOf(settings.batch);
    WaitForHelperAtLeast(settings.patience);
    std::vector<std::string> graph;
    {
        TestNet net;
        std::vector<Place*> places = build(net);
        CreateRRG();
        graph = GraphLines(places);
    }
    AllowExplorationWhenFired(defaults.whenFired);
    AllowInterningThread(defaults.helper);
    ShareExplorationInBatchesOf(defaults.batch);
    WaitForHelperAtLeast(defaults.patience);
    return graph;
}
