#ifndef TAVRO_WORLD_TORCH_H
#define TAVRO_WORLD_TORCH_H

#include "world/GameObject.h"

class FireEmitter;
class Random;

// A torch model with its flames: the fire hangs beside the torch under the same parent and
// follows it 20 units higher. The flames draw from random, which must outlive the torch.
class Torch : public GameObject {
public:
	explicit Torch(Random &random);
	~Torch() override;

	// No body: a torch only lives in the scene.
	void Create(ssgBranch *parent);
	// False when the torch model is missing; a missing or refused fire file only means no fire.
	bool Load() override;
	void SetPosition(float x, float y, float z) override;
	void SetPosition(const sgVec3 p) override;
	void Update(int dt) override;
	void Destroy() override;

	const FireEmitter *GetFire() const { return fire; }

	static constexpr float kFireHeight = 20.0f; // units above the torch's position

private:
	FireEmitter *fire; // owned; null when the fire file is missing or refused
	Random &random;
};

#endif
