#pragma once

#include <string>

// The mail task keeps its addresses and its report path as safe text
// (printable ASCII without '"' and '`'; other bytes are dropped) and trims
// them. A text that would come out changed would mail some other person or
// file, so a run refuses it before it writes anything.

// Why the "-email" text cannot be mailed to, e.g. -email ";;" holds no
// e-mail address; empty when it can. Blanks around the whole text do not
// matter (they were never part of an address).
std::string EmailListRefusal(const std::string& emailList);

// Why the task cannot name this (absolute, native) path as it is; empty
// when it can.
std::string MailPathRefusal(const std::string& path);
