// Starting the engine: the shell started through the start gate, its connection
// taken as the engine's channel, and the engine's first answer awaited.
#pragma once

#include <memory>

#include "baglanti.h"
#include "kanal.h"

// Starts the engine on the calling thread and waits for it within
// MOTOR_BASLAMA_SURESI_MS; the failure codes are Baglanti::baslat's.
HRESULT motoru_baslat(const MotorAyari& ayar, std::unique_ptr<MotorKanali>* cikti);
