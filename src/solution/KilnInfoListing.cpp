// The listing of the planning records of the deterministic chains (-i).
#include "solution/KilnInfo.h"

#include <iostream>

void ShowKilnInfo(const kilninfo* infos, int count)
{
    std::cout << "\n\t kiln infos of " << count << " records :" << std::endl;
    for (int i = 0; i < count; ++i) {
        const kilninfo& info = infos[i];
        std::cout << "\t record no. " << i + 1 << " :\n"
                  << "\t\t tau      : " << info.tau << "\n"
                  << "\t\t max_qii  : " << info.max_qii << "\n"
                  << "\t\t effort   : " << info.effort << "\n"
                  << "\t\t kb_p_sec : " << info.kb_p_sec << "\n"
                  << "\t\t eta      : " << info.eta << "\n"
                  << "\t\t SMC      : ";
        if (info.SMCs)
            std::cout << "transition " << info.SMCs->GetTransitionRef() << ", "
                      << info.SMCs->GetNoOfStates() << " states from state "
                      << info.SMCs->GetFirstStateNumber();
        else
            std::cout << "none";
        std::cout << "\n\t\t status   : " << info.status << std::endl;
    }
}
