// A minimal program image: the tests append archives to copies of it.
int wmain()
{
    return 0;
}
