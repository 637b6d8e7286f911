// A stand-in header of the fixture.
#pragma once
