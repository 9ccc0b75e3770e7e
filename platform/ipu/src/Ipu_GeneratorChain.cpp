#include "Ipu_GeneratorChain.h"

#include <algorithm>

namespace Ipu {

GeneratorChain::~GeneratorChain() = default;

void GeneratorChain::AddGenerator(boost::shared_ptr<Generator> generator)
{
    if (generator) {
        generators.push_back(std::move(generator));
    }
}

std::vector<boost::shared_ptr<Generator>> GeneratorChain::GetOrderedGenerators() const
{
    std::vector<boost::shared_ptr<Generator>> ordered = generators;
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const boost::shared_ptr<Generator>& a, const boost::shared_ptr<Generator>& b) {
            return a->GetPhase() < b->GetPhase();
        });
    return ordered;
}

}  // namespace Ipu
