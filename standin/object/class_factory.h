#pragma once
// The class object both hosts hand to COM: it opens the store for the first Application and
// reports a store that cannot be opened through the creation's HRESULT and IErrorInfo.

#include <unknwn.h>

namespace standin {

IClassFactory* ApplicationFactory();  // a static object; AddRef/Release only count server locks

}  // namespace standin
