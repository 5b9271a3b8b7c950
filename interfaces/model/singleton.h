#pragma once

// The one instance of T, made on first use and destroyed at exit: the closed library's interface
// reaches its data model and its device control through T::getInstance(). T derives from
// Singleton<T>, keeps its constructor and destructor private and makes Singleton<T> its friend, so
// that nothing else makes or copies one.
template <typename T> class Singleton
{
public:
    static T *getInstance()
    {
        static T instance;
        return &instance;
    }

    Singleton(const Singleton &) = delete;
    Singleton &operator=(const Singleton &) = delete;

protected:
    Singleton() = default;
    ~Singleton() = default;
};
