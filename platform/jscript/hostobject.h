// Host objects in scripts: an IDispatch seen from JavaScript as an object
// whose members are the dispatch object's names, and values between
// VARIANT and JavaScript.
//
// A member read is a property get when the object's type information (or,
// without any, a trial get) says the name is a property without
// parameters; methods and properties with parameters read as functions.
// Calling such a function invokes the member as a method or property get;
// when the object answers that the count of arguments is wrong, the last
// argument is taken as the value of a property put (AD.Field("n", "v")
// writes what AD.Field("n") reads). Writing a member is a property put.
//
// Functions here run inside duktape calls: none of them throws across C++
// frames; a failure leaves an Error object on the value stack for the
// caller to throw once its own C++ objects are gone.
#pragma once

#include <duktape.h>
#include <oaidl.h>

namespace jscript {

// Pushes an Error raised by the host: its position is the script's, not
// this library's (printf-style text).
#define pushScriptError(ctx, code, ...) duk_push_error_object_raw((ctx), (code), nullptr, 0, __VA_ARGS__)

// Pushes the value; an object becomes its host object.
void pushVariant(duk_context* ctx, const VARIANT& value);
// The JavaScript value at idx as a new VARIANT (the caller clears it):
// integral numbers within 32 bits are VT_I4, other numbers VT_R8; host
// objects are VT_DISPATCH; other objects their text.
void toVariant(duk_context* ctx, duk_idx_t idx, VARIANT* value);
// Pushes the host object of the dispatch object (a new reference is kept
// until the script lets the object go).
void pushHostObject(duk_context* ctx, IDispatch* object);
// The dispatch object behind a host object at idx, or null (no reference).
IDispatch* hostDispatch(duk_context* ctx, duk_idx_t idx);
// Makes every member that the object's type information names a global
// name of the script (an item with global members); false when the object
// has no type information.
bool defineGlobalMembers(duk_context* ctx, IDispatch* object);

}  // namespace jscript
