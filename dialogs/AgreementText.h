#pragma once
// The user agreement that the agreement bubble shows: plain text, lines joined by CR LF.
#include <string>

std::wstring BuildAgreementText();
