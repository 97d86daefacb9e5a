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
void DecodeCabinet(NodeMessage& m);
void DecodeHealthMonitor(NodeMessage& m);
void DecodeSphygmometer(NodeMessage& m);
void DecodeDais(NodeMessage& m);
void DecodeThdc(NodeMessage& m);
void DecodeTdc(NodeMessage& m);
void DecodeIdc(NodeMessage& m);
void DecodePh(NodeMessage& m);
void DecodeCo2(NodeMessage& m);
void DecodeO2(NodeMessage& m);
void DecodePositioning(NodeMessage& m);
void DecodeInOutRegister(NodeMessage& m);
void DecodeCardPower(NodeMessage& m);
void DecodeCameraCover(NodeMessage& m);
void DecodeWaterValve(NodeMessage& m);
void DecodeVlControl(NodeMessage& m);
void DecodeIfControl(NodeMessage& m);
void DecodePowerMeter(NodeMessage& m);
void DecodeWaterMeter(NodeMessage& m);
void DecodeGasMeter(NodeMessage& m);
void DecodeDoorLock(NodeMessage& m);
void DecodeFingerprintLock(NodeMessage& m);
// Licence plates, vehicle and card readers, sensor adapter.
std::string DecodePlateText(const std::uint8_t* codes, std::size_t count);
void DecodeVlr(NodeMessage& m);
void DecodeCarRfid(NodeMessage& m);
void DecodeRfid13M56(NodeMessage& m);
void DecodeRfid125K(NodeMessage& m);
void DecodeAdapter(NodeMessage& m);
