#pragma once

// Storage for a process-wide object that the library's load creates and its unload releases
// (the units' Init and Done functions), which are thereby its one owner. The storage runs no
// destructor of its own: a host that ends without unloading the library runs the library's static
// destructors first and its unload hook after them, and both would release the object.
template <class T>
union UnitStorage {
    constexpr UnitStorage() : object() {}
    ~UnitStorage() {}
    UnitStorage(const UnitStorage&) = delete;
    UnitStorage& operator=(const UnitStorage&) = delete;

    T object;
};
