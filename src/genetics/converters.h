// The one-step converters of the registry's fixed table. Each lives with its
// encoding; an encoding not yet provided fails cleanly (returns 0).
#pragma once

#include <string>

namespace vorlund {

// Encoding 1 developed into a body and written as format 0.
int convertF1ToF0(const std::string& body, std::string& out);
// Encoding 2 assembled into encoding 1 by the embryo converter.
int convertF2ToF1(const std::string& body, std::string& out);
// Encoding 4 developed cell by cell and written as format 0.
int convertF4ToF0(const std::string& body, std::string& out);
// Encoding 4 developed and written as encoding 1.
int convertF4ToF1(const std::string& body, std::string& out);
// Encoding 1 read through the encoding-4 structures and written as format 0.
int convertF1ToF0ViaF4(const std::string& body, std::string& out);

}  // namespace vorlund
