#pragma once
// The family decoders, one function per family.
#include "library/session/node_message.h"

void DecodeLamp(NodeMessage& m);
void DecodeSlrc(NodeMessage& m);
void DecodePower(NodeMessage& m);
void DecodeCurtain(NodeMessage& m);
void DecodeBoxPower(NodeMessage& m);
void DecodeDoorContact(NodeMessage& m);
void DecodeDoorContactBattery(NodeMessage& m);
void DecodeInfraredRemote(NodeMessage& m);
// Licence plates, vehicle and card readers, sensor adapter.
