// Cutting the bytes received on each connection into frames.
//
// TCP delivers a byte stream, not frames: one receive may hold several frames, or part of one. Each
// connection keeps what it has received until a whole frame is there; the frame then goes to DoMessage.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

enum { RECEIVESIZE = 2000 };                // bytes taken from a socket per read event

// Appends received bytes and dispatches every whole frame, in order. A length byte below 3 breaks the
// stream beyond repair: the rest is dropped and the connection is handled as failed.
void ReceiveBytes(int32_t socket, const uint8_t* data, size_t size);
void DropReceiveBuffer(int32_t socket);     // forgets a closed connection's partial frame
void ClearReceiveBuffers();                 // forgets every connection's partial frame
size_t BufferedBytes(int32_t socket);       // bytes held for a connection (tests)
std::string BufferedText(int32_t socket);   // the bytes held for a connection: the start of a frame still to come
