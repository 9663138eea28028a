// Genotypes that look evolved: about ten sticks with neurons, receptors and
// muscles, varied by a few seeded mutations each.
#pragma once

#include <string>
#include <vector>

namespace vorlund {

class GenMan;

constexpr const char* kBenchTemplates[] = {
    "X(X[|G:1,0:-0.5](X,X[@T:1]),lX(X[|S:2],X(X[@*:1],X)),X[|-1:1.2,G:-1])",
    "XX[@G:1](X(X[|T:1],X),X(lX[|-1:0.8,S:1],X[@0:-1]),RX[|G:2])",
    "X(lX(X[|*:1],X[@G:-1]),rX(X[|T:2],X[@-2:1]),X(X,X[|S:1]))",
    "MX[|G:1](X[@T:1](X,X),X(X[|-1:-1](X,X),X[@S:1]))",
    "X(X(X(X[|G:1],X[@-1:2]),X),lX(X[|T:1],X[@*:1]),X)",
};

// `count` genotypes: the templates in turn, each mutated `mutations` times.
std::vector<std::string> benchGenotypes(GenMan& gm, int count, int mutations);

}  // namespace vorlund
