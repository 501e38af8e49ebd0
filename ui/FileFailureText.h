// What went wrong with a slot file, in a sentence a person understands.
#pragma once

#include <string>

#include "platform/File.h"

std::string FileFailureText(const CFileException& failure);
